#pragma once
// The runtime's string operations the program uses beyond std::string itself.

#include <string>
#include <string_view>

namespace kaldorin {

// Integer to decimal text, as the runtime writes numbers in user texts: no blank
// before a positive number ("3", "-1").
std::string ZahlText(long long zahl);

// The number in decimal with at least `stellen` digits, zero-padded ("32", "05").
std::string ZahlStellen(long long zahl, int stellen);

// A text of n blanks.
std::string Leerzeichen(int n);

// The text before the first NUL character (all of it when there is none).
std::string BisNull(std::string_view text);

// Whether the text ends with `ende`.
bool EndetMit(std::string_view text, std::string_view ende);

}  // namespace kaldorin
