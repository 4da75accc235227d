#pragma once
// Errors of the Win32 host as Laufzeitfehler with a German sentence.

#include <string>

namespace kaldorin::w32 {

// The reason for a Windows error code as a German sentence.
std::string Grund(unsigned long code);

[[noreturn]] void Fehler(const std::string& satz);
// `was` followed by the reason of `code` (the thread's last error by default).
[[noreturn]] void SystemFehler(const std::string& was, unsigned long code);
[[noreturn]] void SystemFehler(const std::string& was);

// A path in quotes, for messages.
std::string Anzeige(const std::string& pfad);

}  // namespace kaldorin::w32
