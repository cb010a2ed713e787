#pragma once

#include <cstddef>
#include <new>

namespace optic {

// Memory for large arrays, mapped from the system in huge pages where it grants them: the
// first touch of each small page costs the system a fault (two to three microseconds on a
// virtual machine, far more than writing the page), of each huge page one fault for 2 MiB.
// Blocks of at least kGrandBloc bytes are rounded up to whole huge pages; smaller ones come
// from the ordinary allocator.
inline constexpr std::size_t kGrandBloc = std::size_t{512} << 10;

// At least `octets` bytes (zeroed when they come from the system); throws std::bad_alloc.
void* AllouerBloc(std::size_t octets);
// The same, zeroed whatever its size.
void* AllouerBlocZero(std::size_t octets);
// Gives back a block of AllouerBloc, with the size it was asked for.
void LibererBloc(void* bloc, std::size_t octets) noexcept;

// The allocator of standard containers that hold large arrays.
template <typename T>
struct GrandsBlocs {
    using value_type = T;
    GrandsBlocs() = default;
    template <typename U>
    GrandsBlocs(const GrandsBlocs<U>&) noexcept {}
    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_alloc();
        return static_cast<T*>(AllouerBloc(n * sizeof(T)));
    }
    void deallocate(T* p, std::size_t n) noexcept { LibererBloc(p, n * sizeof(T)); }
    template <typename U>
    bool operator==(const GrandsBlocs<U>&) const noexcept {
        return true;
    }
};

}  // namespace optic
