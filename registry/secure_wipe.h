// Overwriting memory that held deciphered database text before it is released. An empty asm
// statement that may read the memory follows the fill, so that the compiler cannot drop the fill
// as a dead store before a free (both of our compilers are GCC).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <vector>

namespace tamux {

inline void secureFill(void* data, std::size_t size, unsigned char value) {
    if (size == 0) return;
    std::memset(data, value, size);
    __asm__ __volatile__("" : : "r"(data) : "memory");
}

// Overwrites every character of `text` with `fill`; the length stays.
inline void secureFill(std::string& text, char fill) {
    if (!text.empty()) secureFill(text.data(), text.size(), static_cast<unsigned char>(fill));
}

// Zeroes the elements of a vector of plain values and releases its storage.
template <typename T>
void secureRelease(std::vector<T>& values) {
    if (!values.empty()) secureFill(values.data(), values.size() * sizeof(T), 0);
    std::vector<T>().swap(values);
}

// Makes room for `extra` more elements without a vector's own growth, which would free the old
// elements unwiped: they are copied into a larger vector and the old one is wiped.
template <typename T>
void reserveWiped(std::vector<T>& values, std::size_t extra) {
    if (values.capacity() - values.size() >= extra) return;
    std::vector<T> larger;
    larger.reserve(std::max({std::size_t{1024}, 2 * values.capacity(), values.size() + extra}));
    larger.assign(values.begin(), values.end());
    secureRelease(values);
    values.swap(larger);
}

}  // namespace tamux
