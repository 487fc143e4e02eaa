// Text helpers. Engine text is a string of 16-bit character codes; 8-bit text
// maps bytes to codes 0 to 255 one to one.
#pragma once

#include <string>
#include <string_view>

namespace vesk {

using Text = std::u16string;

// Bytes to codes 0..255, one to one.
Text BytesToText(std::string_view bytes);

// The low 8 bits of each code, one byte per code.
std::string TextToBytes(const Text& text);

// UTF-8 to UTF-16 code units; malformed bytes become U+FFFD.
Text Utf8ToText(std::string_view utf8);

// UTF-16 code units to UTF-8 (for file names and platform calls); an
// unpaired surrogate becomes U+FFFD.
std::string TextToUtf8(const Text& text);

// ASCII letter case folding, as used for protocol names.
Text LowerAscii(Text text);

// Decimal text of a number.
Text NumberText(long long value);

}  // namespace vesk
