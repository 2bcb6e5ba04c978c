#include "display/TypedText.h"

namespace duskhall {

namespace {

constexpr std::uint32_t Replacement = 0xFFFD;

bool isHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool isLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void append(TypedCharacters& out, std::uint32_t codePoint) {
    if (!isTextCodePoint(codePoint)) {
        return;
    }
    auto& text = out.text[static_cast<std::size_t>(out.count++)];
    std::size_t length = 0;
    if (codePoint < 0x80) {
        text[length++] = static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        text[length++] = static_cast<char>(0xC0 | (codePoint >> 6));
        text[length++] = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else if (codePoint < 0x10000) {
        text[length++] = static_cast<char>(0xE0 | (codePoint >> 12));
        text[length++] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text[length++] = static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        text[length++] = static_cast<char>(0xF0 | (codePoint >> 18));
        text[length++] = static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        text[length++] = static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        text[length++] = static_cast<char>(0x80 | (codePoint & 0x3F));
    }
    text[length] = '\0';
}

} // namespace

bool isTextCodePoint(std::uint32_t codePoint) {
    const bool control = codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
    // U+FDD0..U+FDEF and the last two of every plane are kept for internal use.
    const bool nonCharacter =
        (codePoint >= 0xFDD0 && codePoint <= 0xFDEF) || (codePoint & 0xFFFE) == 0xFFFE;
    return !control && !nonCharacter && !isHighSurrogate(codePoint) && !isLowSurrogate(codePoint) &&
           codePoint <= 0x10FFFF;
}

std::uint32_t nextCodePoint(const char*& utf8) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(utf8);
    const unsigned lead = bytes[0];
    if (lead == 0) {
        return 0;
    }
    int length = 1;
    std::uint32_t codePoint = lead;
    std::uint32_t smallest = 0;
    if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        codePoint = lead & 0x07;
        smallest = 0x10000;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        codePoint = lead & 0x0F;
        smallest = 0x800;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        codePoint = lead & 0x1F;
        smallest = 0x80;
    } else if (lead >= 0x80) {
        ++utf8;
        return Replacement;
    }
    for (int i = 1; i < length; ++i) {
        if ((bytes[i] & 0xC0) != 0x80) { // also stops at the terminating NUL
            ++utf8;
            return Replacement;
        }
        codePoint = (codePoint << 6) | (bytes[i] & 0x3F);
    }
    // Overlong forms, encoded surrogates and values past U+10FFFF are not characters.
    if (codePoint < smallest || isHighSurrogate(codePoint) || isLowSurrogate(codePoint) ||
        codePoint > 0x10FFFF) {
        ++utf8;
        return Replacement;
    }
    utf8 += length;
    return codePoint;
}

TypedCharacters TypedText::takeUnit(std::uint16_t unit) {
    TypedCharacters out;
    if (highSurrogate_ != 0 && isLowSurrogate(unit)) {
        append(out, 0x10000 + ((static_cast<std::uint32_t>(highSurrogate_) - 0xD800) << 10) +
                        (static_cast<std::uint32_t>(unit) - 0xDC00));
        highSurrogate_ = 0;
        return out;
    }
    if (highSurrogate_ != 0) {
        append(out, Replacement);
        highSurrogate_ = 0;
    }
    if (isHighSurrogate(unit)) {
        highSurrogate_ = unit;
    } else if (isLowSurrogate(unit)) {
        append(out, Replacement);
    } else {
        append(out, unit);
    }
    return out;
}

TypedCharacters TypedText::takeCodePoint(std::uint32_t codePoint) {
    TypedCharacters out;
    if (highSurrogate_ != 0) {
        append(out, Replacement);
        highSurrogate_ = 0;
    }
    append(out, codePoint);
    return out;
}

} // namespace duskhall
