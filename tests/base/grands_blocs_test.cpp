// Large blocks: usable whole, zeroed when asked, and on a huge page's boundary where the
// system maps them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "base/grands_blocs.h"

namespace optic {
namespace {

TEST(GrandsBlocs, BlocsDeToutesTailles) {
    constexpr std::size_t kMio = std::size_t{1} << 20;
    // Bytes, and whether they are mapped in huge pages.
    const std::pair<std::size_t, bool> cas[] = {
        {1, false},       {4096, false},        {kGrandBloc - 1, false},  {kGrandBloc, true},
        {2 * kMio, true}, {2 * kMio + 1, true}, {5 * kMio + 12345, true},
    };
    for (const auto& [octets, grand] : cas) {
        SCOPED_TRACE(octets);
        auto* bloc = static_cast<std::uint8_t*>(AllouerBloc(octets));
        ASSERT_NE(bloc, nullptr);
        std::memset(bloc, 0xa5, octets);  // every byte is there to write
        EXPECT_EQ(bloc[octets - 1], 0xa5);
#if defined(__linux__) && !defined(__EMSCRIPTEN__)
        if (grand) {
            EXPECT_EQ(reinterpret_cast<std::uintptr_t>(bloc) % (2 * kMio), 0u);
        }
#endif
        LibererBloc(bloc, octets);
        // Zeroed whatever its size, even where the memory just given back held other bytes
        // (coverage bits start clear).
        auto* zero = static_cast<std::uint8_t*>(AllouerBlocZero(octets));
        EXPECT_TRUE(std::all_of(zero, zero + octets, [](std::uint8_t b) { return b == 0; }));
        LibererBloc(zero, octets);
    }
    LibererBloc(nullptr, kGrandBloc);  // nothing to give back
}

}  // namespace
}  // namespace optic
