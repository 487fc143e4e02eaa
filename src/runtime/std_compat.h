// Two C++20 library functions that the web toolchain's standard library
// lacks, written out so that the engine builds with both.
#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <type_traits>

namespace vesk {

// The bits of one value as another type of the same size (std::bit_cast).
template <class To, class From>
    requires(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<To> && std::is_trivially_copyable_v<From>)
To BitCast(const From& from) {
    To to;
    std::memcpy(&to, &from, sizeof to);
    return to;
}

// An array of `count` elements left uninitialised, for buffers that are
// written before they are read (std::make_unique_for_overwrite).
template <class T>
    requires std::is_trivially_default_constructible_v<T>
std::unique_ptr<T[]> MakeUninitialisedArray(std::size_t count) {
    return std::unique_ptr<T[]>(new T[count]);
}

}  // namespace vesk
