#pragma once
// The runtime's string operations the program uses beyond std::string itself.

#include <string>
#include <string_view>

namespace kaldorin {

// Integer to decimal text, as the runtime writes numbers in user texts: no blank
// before a positive number ("3", "-1").
std::string NumberText(long long number);

// The number in decimal with at least `digits` digits, zero-padded ("32", "05").
std::string PaddedNumber(long long number, int digits);

// A text of n blanks.
std::string Blanks(int n);

// The text before the first NUL character (all of it when there is none).
std::string UpToNul(std::string_view text);

// Whether the text ends with `end`.
bool EndsWith(std::string_view text, std::string_view end);

}  // namespace kaldorin
