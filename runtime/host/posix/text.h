#pragma once
// UTF-8 helpers of the POSIX host: case folding for name comparison, wildcard
// matching and the Windows-1252 / UTF-16 encodings of shell links.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kaldorin::posix {

// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates).
bool GueltigesUtf8(std::string_view text);

// Code points of `text`. A byte that does not start a valid sequence becomes
// 0xDC00 + byte, so that such names still compare byte for byte.
std::u32string Zeichen(std::string_view text);

// `text` folded for comparison without regard to case: ASCII, Latin-1 (Ä/ä, Ö/ö,
// Ü/ü ...), capital sharp s to ß, Ÿ to ÿ.
std::u32string Gefaltet(std::string_view text);

// Whether two names are equal without regard to case.
bool GleichOhneFall(std::string_view a, std::string_view b);

// Whether `name` matches `muster` without regard to case: * any run of characters,
// ? exactly one; "*.*" matches every name, as on Windows.
bool PasstZuMuster(std::string_view name, std::string_view muster);

// Whether the text holds * or ?.
bool HatJoker(std::string_view text);

// Windows-1252 bytes of a UTF-8 text; characters outside the code page become '?'.
// Returns false in `vollstaendig` when any was replaced.
std::string Windows1252(std::string_view utf8, bool& vollstaendig);

// UTF-16LE code units of a UTF-8 text (invalid bytes become U+FFFD).
std::u16string Utf16(std::string_view utf8);

}  // namespace kaldorin::posix
