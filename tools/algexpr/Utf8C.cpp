#include "Utf8C.h"

namespace qorv::math::algexpr::cli {

namespace {

bool isContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

bool Utf8C::decode(std::string_view bytes, std::u16string& out, std::size_t& bad_byte) {
    out.clear();
    out.reserve(bytes.size());
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::size_t i = 0;
    while (i < n) {
        const unsigned char lead = data[i];
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        // The length of the sequence and the range its second byte must be
        // in; the narrowed ranges exclude overlong forms, surrogates and code
        // points past U+10FFFF.
        std::size_t length;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        char32_t code;
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
            code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            code = lead & 0x0F;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            code = lead & 0x07;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            bad_byte = i;
            return false;
        }
        if (i + 1 >= n || data[i + 1] < low || data[i + 1] > high) {
            bad_byte = i + 1 < n ? i + 1 : i;
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k >= n || !isContinuation(data[i + k])) {
                bad_byte = i + k < n ? i + k : i;
                return false;
            }
            code = (code << 6) | (data[i + k] & 0x3F);
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (code >> 10));
            out += static_cast<char16_t>(0xDC00 + (code & 0x3FF));
        } else {
            out += static_cast<char16_t>(code);
        }
        i += length;
    }
    return true;
}

void Utf8C::append(std::u16string_view text, std::string& out) {
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        char32_t code = text[i];
        if (code < 0x80) {
            out += static_cast<char>(code);
            continue;
        }
        if (code >= 0xD800 && code <= 0xDFFF) {
            const bool paired = code <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF;
            if (paired) {
                code = 0x10000 + ((code - 0xD800) << 10) + (text[i + 1] - 0xDC00);
                ++i;
            } else {
                code = 0xFFFD;
            }
        }
        if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        }
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

std::string Utf8C::excerpt(std::string_view bytes, std::size_t max_bytes) {
    if (bytes.size() <= max_bytes) {
        return std::string(bytes);
    }
    std::size_t cut = max_bytes;
    while (cut > 0 && isContinuation(static_cast<unsigned char>(bytes[cut]))) {
        --cut;
    }
    return std::string(bytes.substr(0, cut)) + "...";
}

}  // namespace qorv::math::algexpr::cli
