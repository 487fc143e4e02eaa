#include <vesk/runtime/text.h>

namespace vesk {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16(Text& out, char32_t code) {
    if (code < 0x10000) {
        out.push_back(static_cast<char16_t>(code));
    } else {
        code -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

// Decodes one UTF-8 sequence at bytes[i], advancing i; rejects overlong
// forms, surrogates and values past U+10FFFF.
char32_t DecodeUtf8(std::string_view bytes, size_t& i) {
    unsigned char lead = static_cast<unsigned char>(bytes[i++]);
    if (lead < 0x80) return lead;
    int extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : -1;
    if (extra < 0 || lead > 0xF4) return kReplacement;
    char32_t code = lead & (0x3F >> extra);
    for (int k = 0; k < extra; ++k) {
        if (i >= bytes.size()) return kReplacement;
        unsigned char next = static_cast<unsigned char>(bytes[i]);
        if ((next & 0xC0) != 0x80) return kReplacement;
        code = (code << 6) | (next & 0x3F);
        ++i;
    }
    static const char32_t minimum[] = {0, 0x80, 0x800, 0x10000};
    if (code < minimum[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return kReplacement;
    return code;
}

}  // namespace

Text BytesToText(std::string_view bytes) {
    Text text;
    text.reserve(bytes.size());
    for (char byte : bytes) text.push_back(static_cast<unsigned char>(byte));
    return text;
}

std::string TextToBytes(const Text& text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (char16_t code : text) bytes.push_back(static_cast<char>(code & 0xFF));
    return bytes;
}

Text Utf8ToText(std::string_view utf8) {
    Text text;
    text.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size();) AppendUtf16(text, DecodeUtf8(utf8, i));
    return text;
}

std::string TextToUtf8(const Text& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t code = text[i];
        if (code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (code >= 0xD800 && code <= 0xDFFF) {
            code = kReplacement;
        }
        AppendUtf8(out, code);
    }
    return out;
}

Text LowerAscii(Text text) {
    for (char16_t& code : text)
        if (code >= u'A' && code <= u'Z') code = static_cast<char16_t>(code + 32);
    return text;
}

Text NumberText(long long value) { return BytesToText(std::to_string(value)); }

}  // namespace vesk
