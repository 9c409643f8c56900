// Conversions between the Windows 8-bit code pages 1250, 1251 and 1252 and UTF-16, done the way
// MultiByteToWideChar and WideCharToMultiByte do them (an accented Latin letter the code page lacks
// becomes its plain letter, any other unmappable character "?"). Other code pages are treated as
// 1252.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tamux::sim {

bool isSupportedCodePage(unsigned codePage);

char16_t toUnicode(unsigned codePage, unsigned char byte);
char fromUnicode(unsigned codePage, char16_t unit);

// UTF-16 text to the 8-bit code page.
std::string narrowUtf16(unsigned codePage, std::u16string_view text);
// 8-bit text of the code page to UTF-16.
std::u16string widen(unsigned codePage, std::string_view text);
// Little-endian UTF-16 bytes to text; an odd last byte is ignored.
std::u16string utf16FromBytes(const unsigned char* data, std::size_t size);

std::u16string utf8ToUtf16(std::string_view text);
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace tamux::sim
