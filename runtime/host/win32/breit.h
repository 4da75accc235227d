#pragma once
// UTF-8 inside, UTF-16 at the wide Windows API: the two conversions every Win32 part
// uses, so that names outside the ANSI code page survive.

#include <string>
#include <string_view>

namespace kaldorin::w32 {

// UTF-8 to UTF-16. A byte that is not valid UTF-8 becomes U+FFFD.
std::wstring Breit(std::string_view utf8);
// UTF-16 to UTF-8. A lone surrogate becomes U+FFFD.
std::string Schmal(std::wstring_view utf16);

}  // namespace kaldorin::w32
