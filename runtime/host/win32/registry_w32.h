#pragma once
// Settings in the registry: HKEY_CURRENT_USER\Software\<Application>\<Section>, one
// value a key. The registry matches names without regard to case.

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
// Each throws when what it deletes is absent.
void RegistryWertLoeschen(std::string_view anwendung, std::string_view abschnitt, std::string_view schluessel);
void RegistryAbschnittLoeschen(std::string_view anwendung, std::string_view abschnitt);
void RegistryAnwendungLoeschen(std::string_view anwendung);

}  // namespace kaldorin::w32
