// Large blocks: usable whole, on a huge page's boundary where the system maps them, and as
// the memory of a growing container.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "base/grands_blocs.h"

namespace optic {
namespace {

TEST(GrandsBlocs, BlocsDeToutesTailles) {
    constexpr std::size_t kMio = std::size_t{1} << 20;
    const struct {
        std::size_t octets;
        bool grand;  // mapped in huge pages
    } cas[] = {
        {1, false},       {4096, false},        {kGrandBloc - 1, false},  {kGrandBloc, true},
        {2 * kMio, true}, {2 * kMio + 1, true}, {5 * kMio + 12345, true},
    };
    for (const auto& c : cas) {
        SCOPED_TRACE(c.octets);
        auto* bloc = static_cast<std::uint8_t*>(AllouerBloc(c.octets));
        ASSERT_NE(bloc, nullptr);
        std::memset(bloc, 0xa5, c.octets);  // every byte is there to write
        EXPECT_EQ(bloc[c.octets - 1], 0xa5);
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
        if (c.grand) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bloc) % (2 * kMio), 0u);
        }
#endif
        LibererBloc(bloc, c.octets);
    }
    LibererBloc(nullptr, kGrandBloc);  // nothing to give back
}

// A vector growing through small blocks into large ones keeps what it holds.
TEST(GrandsBlocs, VecteurQuiGrandit) {
    std::vector<std::uint64_t, GrandsBlocs<std::uint64_t>> v;
    for (std::uint64_t i = 0; i < 400000; ++i) v.push_back(i * 7);
    EXPECT_GE(v.capacity() * sizeof(std::uint64_t), kGrandBloc);
    for (std::uint64_t i = 0; i < v.size(); i += 997) EXPECT_EQ(v[i], i * 7);
    v.erase(v.begin(), v.begin() + 1000);
    EXPECT_EQ(v.front(), 7000u);
    v.resize(10);
    v.shrink_to_fit();
    EXPECT_EQ(v.back(), 7 * 1009u);
    EXPECT_THROW(GrandsBlocs<std::uint64_t>().allocate(SIZE_MAX / 4), std::bad_alloc);
}

}  // namespace
}  // namespace optic
