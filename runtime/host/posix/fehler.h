#pragma once
// Failures of the POSIX host: every one is a Laufzeitfehler with a German sentence.

#include <string>
#include <string_view>

namespace kaldorin::posix {

// Throws Laufzeitfehler with `text`.
[[noreturn]] void Fehler(const std::string& text);

// A German clause for a system error number ("Zugriff verweigert").
std::string Grund(int fehlernummer);

// Throws "<text>: <reason for errno>." for the current errno.
[[noreturn]] void SystemFehler(const std::string& text);
[[noreturn]] void SystemFehler(const std::string& text, int fehlernummer);

}  // namespace kaldorin::posix
