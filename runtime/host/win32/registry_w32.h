#pragma once
// Settings in the registry: HKEY_CURRENT_USER\Software\<Application>\<Section>, one
// value a key. The registry matches names without regard to case. A section may name
// several levels ("a\b"); no name is empty, so none reaches above the application.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kaldorin::w32 {

// The value as text (a number as decimal text); nothing when it is absent.
// Throws when the store cannot be read.
std::optional<std::string> RegistryLesen(std::string_view anwendung, std::string_view abschnitt,
                                         std::string_view schluessel);
// Writes a text value (REG_SZ), creating the keys on the way.
void RegistrySchreiben(std::string_view anwendung, std::string_view abschnitt, std::string_view schluessel,
                       std::string_view wert);
// Writes a number the system reads as one (REG_DWORD).
void RegistryZahlSchreiben(std::string_view anwendung, std::string_view abschnitt, std::string_view schluessel,
                           std::uint32_t wert);
// Each throws when what it deletes is absent; a section (with every key below it) not
// when `fehltErlaubt`.
void RegistryWertLoeschen(std::string_view anwendung, std::string_view abschnitt, std::string_view schluessel);
void RegistryAbschnittLoeschen(std::string_view anwendung, std::string_view abschnitt, bool fehltErlaubt = false);
void RegistryAnwendungLoeschen(std::string_view anwendung);

}  // namespace kaldorin::w32
