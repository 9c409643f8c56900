// Overwriting memory that held deciphered database text before it is released. The writes go
// through a volatile pointer so that the compiler cannot drop them as dead stores before a free.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tamux {

inline void SecureFill(void* data, std::size_t size, unsigned char value) {
    volatile unsigned char* p = static_cast<volatile unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) p[i] = value;
}

// Overwrites every character of `text` with `fill`; the length stays.
inline void SecureFill(std::string& text, char fill) {
    if (!text.empty()) SecureFill(text.data(), text.size(), static_cast<unsigned char>(fill));
}

// Zeroes the elements of a vector of plain values and releases its storage.
template <typename T>
void SecureRelease(std::vector<T>& values) {
    if (!values.empty()) SecureFill(values.data(), values.size() * sizeof(T), 0);
    std::vector<T>().swap(values);
}

}  // namespace tamux
