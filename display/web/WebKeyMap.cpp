#include "display/web/WebKeyMap.h"

#include <duskhall/Modifiers.h>

#include "display/TypedText.h"
#include "display/WindowMessage.h"

#include <cmath>
#include <cstring>

namespace duskhall {

namespace {

struct KeyName {
    const char* code;
    int virtualKey;
};

// Keys outside the numbered runs handled in code.
constexpr KeyName singles[] = {
    {"Backspace", 0x08},
    {"Tab", 0x09},
    {"Enter", 0x0D},
    {"NumpadEnter", 0x0D},
    {"ShiftLeft", 0x10},
    {"ShiftRight", 0x10},
    {"ControlLeft", 0x11},
    {"ControlRight", 0x11},
    {"AltLeft", 0x12},
    {"AltRight", 0x12},
    {"Pause", 0x13},
    {"CapsLock", 0x14},
    {"Escape", 0x1B},
    {"Space", 0x20},
    {"PageUp", 0x21},
    {"PageDown", 0x22},
    {"End", 0x23},
    {"Home", 0x24},
    {"ArrowLeft", 0x25},
    {"ArrowUp", 0x26},
    {"ArrowRight", 0x27},
    {"ArrowDown", 0x28},
    {"PrintScreen", 0x2C},
    {"Insert", 0x2D},
    {"Delete", 0x2E},
    {"Help", 0x2F},
    {"MetaLeft", 0x5B},
    {"OSLeft", 0x5B},
    {"MetaRight", 0x5C},
    {"OSRight", 0x5C},
    {"ContextMenu", 0x5D},
    {"NumpadMultiply", 0x6A},
    {"NumpadAdd", 0x6B},
    {"NumpadComma", 0x6C},
    {"NumpadSubtract", 0x6D},
    {"NumpadDecimal", 0x6E},
    {"NumpadDivide", 0x6F},
    {"NumLock", 0x90},
    {"ScrollLock", 0x91},
    {"Semicolon", 0xBA},
    {"Equal", 0xBB},
    {"Comma", 0xBC},
    {"Minus", 0xBD},
    {"Period", 0xBE},
    {"Slash", 0xBF},
    {"Backquote", 0xC0},
    {"BracketLeft", 0xDB},
    {"Backslash", 0xDC},
    {"BracketRight", 0xDD},
    {"Quote", 0xDE},
    {"IntlBackslash", 0xE2},
};

// The number after prefix, when code is prefix followed by one or two digits.
int numberAfter(const char* code, const char* prefix) {
    const std::size_t length = std::strlen(prefix);
    if (std::strncmp(code, prefix, length) != 0) {
        return -1;
    }
    const char* digits = code + length;
    const std::size_t count = std::strlen(digits);
    if (count == 0 || count > 2 || std::strspn(digits, "0123456789") != count) {
        return -1;
    }
    return count == 1 ? digits[0] - '0' : (digits[0] - '0') * 10 + (digits[1] - '0');
}

} // namespace

int virtualKeyForCode(const char* code) {
    if (code == nullptr) {
        return 0;
    }
    if (std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z' && code[4] == '\0') {
        return code[3];
    }
    if (const int digit = numberAfter(code, "Digit"); digit >= 0 && digit <= 9) {
        return '0' + digit;
    }
    if (const int digit = numberAfter(code, "Numpad"); digit >= 0 && digit <= 9) {
        return 0x60 + digit;
    }
    if (const int function = numberAfter(code, "F"); function >= 1 && function <= 24) {
        return 0x70 + function - 1;
    }
    for (const KeyName& key : singles) {
        if (std::strcmp(code, key.code) == 0) {
            return key.virtualKey;
        }
    }
    return 0;
}

std::uint32_t trackModifiers(std::uint32_t bits, const char* code, bool down, bool shift, bool ctrl,
                             bool alt, bool meta) {
    struct Side {
        const char* code;
        std::uint32_t bit;
    };
    static constexpr Side sides[] = {
        {"ShiftLeft", Modifiers::LeftShift},     {"ShiftRight", Modifiers::RightShift},
        {"ControlLeft", Modifiers::LeftControl}, {"ControlRight", Modifiers::RightControl},
        {"AltLeft", Modifiers::LeftAlt},         {"AltRight", Modifiers::RightAlt},
        {"MetaLeft", Modifiers::LeftSuper},      {"MetaRight", Modifiers::RightSuper},
        {"OSLeft", Modifiers::LeftSuper},        {"OSRight", Modifiers::RightSuper},
    };
    for (const Side& side : sides) {
        if (std::strcmp(code, side.code) == 0) {
            bits = down ? bits | side.bit : bits & ~side.bit;
        }
    }
    bits &= (shift ? Modifiers::Shift : 0u) | (ctrl ? Modifiers::Control : 0u) |
            (alt ? Modifiers::Alt : 0u) | (meta ? Modifiers::Super : 0u);
    return bits;
}

std::uint32_t typedCodePoint(const char* key, bool ctrl, bool alt, bool meta) {
    if ((ctrl || meta) && !alt) {
        return 0;
    }
    const char* rest = key;
    const std::uint32_t codePoint = nextCodePoint(rest);
    if (codePoint == 0 || *rest != '\0' || !isTextCodePoint(codePoint)) {
        return 0;
    }
    return codePoint;
}

int wheelDistance(double delta, unsigned long deltaMode) {
    constexpr double pixelsPerNotch = 100.0;
    constexpr double linesPerNotch = 3.0;
    const double notches = deltaMode == 0   ? delta / pixelsPerNotch
                           : deltaMode == 1 ? delta / linesPerNotch
                                            : delta;
    const double distance = std::nearbyint(notches * WheelDelta);
    return static_cast<int>(std::fmax(-32768.0, std::fmin(32767.0, distance)));
}

} // namespace duskhall
