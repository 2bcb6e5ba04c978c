#pragma once

#include <array>
#include <cstdint>

namespace duskhall {

// Up to two characters of typed text, each as NUL-terminated UTF-8.
struct TypedCharacters {
    std::array<std::array<char, 5>, 2> text{};
    int count = 0;
};

// True for a code point that is typed text: not a control character (C0, DEL,
// C1), not a surrogate nor a noncharacter, not beyond U+10FFFF.
bool isTextCodePoint(std::uint32_t codePoint);

// The code point that begins utf8, moving utf8 past it; 0 at the end. A byte
// that does not begin a well-formed sequence reads as U+FFFD and is skipped alone.
std::uint32_t nextCodePoint(const char*& utf8);

// Joins the UTF-16 code units of typed characters, as Windows sends them one
// message each, into whole characters. A high surrogate waits for its low one;
// a surrogate without its partner becomes U+FFFD, so nothing typed is lost
// silently nor joined wrongly.
class TypedText {
  public:
    // The characters unit completes: none (a high surrogate waits, a control
    // character), one, or a lone high surrogate's U+FFFD and then unit's own.
    TypedCharacters takeUnit(std::uint16_t unit);
    // A whole code point: one character, or none for a control character or an
    // invalid code point. Ends a waiting high surrogate as U+FFFD first.
    TypedCharacters takeCodePoint(std::uint32_t codePoint);
    // Forgets a waiting high surrogate (the focus went elsewhere).
    void reset() { highSurrogate_ = 0; }

  private:
    std::uint16_t highSurrogate_ = 0;
};

} // namespace duskhall
