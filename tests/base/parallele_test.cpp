#include "base/parallele.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace optic {
namespace {

// Every task runs exactly once, call after call, whatever the threads asked for; a call made
// from inside a task runs too (on its caller's thread).
TEST(EnParallele, ChaqueTacheUneFoisAppelApresAppel) {
    struct Cas {
        std::size_t taches;
        int fils;
    };
    for (const Cas& cas : std::vector<Cas>{{0, 2}, {1, 8}, {7, 1}, {100, 2}, {1000, 8}, {3, 256}}) {
        SCOPED_TRACE(testing::Message() << cas.taches << " tasks, " << cas.fils << " threads");
        for (int appel = 0; appel < 50; ++appel) {
            std::vector<std::atomic<int>> vues(cas.taches);
            std::atomic<int> interieures{0};
            EnParallele(cas.taches, cas.fils, [&](std::size_t i) {
                vues[i].fetch_add(1);
                if (i == 0)
                    EnParallele(4, cas.fils, [&](std::size_t) { interieures.fetch_add(1); });
            });
            for (std::size_t i = 0; i < cas.taches; ++i) ASSERT_EQ(vues[i].load(), 1) << i;
            ASSERT_EQ(interieures.load(), cas.taches > 0 ? 4 : 0);
        }
    }
}

// A task that throws: the call ends once the others are done, and the caller sees the error.
TEST(EnParallele, UneErreurRevientALAppelant) {
    std::atomic<int> finies{0};
    EXPECT_THROW(EnParallele(64, 2,
                             [&](std::size_t i) {
                                 if (i == 5) throw std::runtime_error("task 5");
                                 finies.fetch_add(1);
                             }),
                 std::runtime_error);
    std::atomic<int> apres{0};
    EnParallele(64, 2, [&](std::size_t) { apres.fetch_add(1); });
    EXPECT_EQ(apres.load(), 64);
}

}  // namespace
}  // namespace optic
