#include "base/parallele.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <utility>
#include <vector>

namespace optic {
namespace {

// Every task runs exactly once, call after call, whatever the threads asked for; a call made
// from inside a task runs too (on its caller's thread).
TEST(EnParallele, ChaqueTacheUneFoisAppelApresAppel) {
    const std::pair<std::size_t, int> cas[] = {{0, 2},   {1, 8},    {7, 1},
                                               {100, 2}, {1000, 8}, {3, 256}};
    for (const auto& [taches, fils] : cas) {
        SCOPED_TRACE(testing::Message() << taches << " tasks, " << fils << " threads");
        for (int appel = 0; appel < 50; ++appel) {
            std::vector<std::atomic<int>> vues(taches);
            std::atomic<int> interieures{0};
            EnParallele(taches, fils, [&](std::size_t i) {
                vues[i].fetch_add(1);
                if (i == 0) EnParallele(4, fils, [&](std::size_t) { interieures.fetch_add(1); });
            });
            for (std::size_t i = 0; i < taches; ++i) ASSERT_EQ(vues[i].load(), 1) << i;
            ASSERT_EQ(interieures.load(), taches > 0 ? 4 : 0);
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
