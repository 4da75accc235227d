#include "runtime/host/win32/registry_w32.h"

#include "runtime/host/win32/windows_w32.h"

#include <cstring>
#include <vector>

#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/fehler_w32.h"

namespace kaldorin::w32 {

namespace {

// A name of one registry level: not empty and without a backslash, so that a name
// can never reach a key outside the application's own. The registry knows no way up,
// but "." and ".." are refused all the same: nobody could tell what they mean.
std::wstring Name(std::string_view name, const char* was) {
    if (name.empty() || name == "." || name == ".." || name.find('\\') != std::string_view::npos)
        Fehler(std::string("Ungültiger Name für ") + was + ": \"" + std::string(name) + "\".");
    return Breit(name);
}

std::wstring AnwendungsPfad(std::string_view anwendung) {
    return L"Software\\" + Name(anwendung, "die Anwendung");
}

// A section may name several levels below the application ("a\b"), none of them
// empty: a key path has no way up, so it stays below the application.
std::wstring AbschnittsName(std::string_view abschnitt) {
    std::wstring name;
    std::size_t anfang = 0;
    for (;;) {
        const std::size_t ende = abschnitt.find('\\', anfang);
        if (!name.empty()) name += L"\\";
        name += Name(abschnitt.substr(anfang, ende - anfang), "den Abschnitt");
        if (ende == std::string_view::npos) return name;
        anfang = ende + 1;
    }
}

std::wstring AbschnittsPfad(std::string_view anwendung, std::string_view abschnitt) {
    return AnwendungsPfad(anwendung) + L"\\" + AbschnittsName(abschnitt);
}

std::string Anzeige(const std::wstring& pfad) { return "\"HKEY_CURRENT_USER\\" + Schmal(pfad) + "\""; }

class Schluessel {
public:
    Schluessel() = default;
    ~Schluessel() {
        if (h_) RegCloseKey(h_);
    }
    Schluessel(const Schluessel&) = delete;
    Schluessel& operator=(const Schluessel&) = delete;
    HKEY* Adresse() { return &h_; }
    HKEY operator*() const { return h_; }

private:
    HKEY h_ = nullptr;
};

// Opens a key; false when it does not exist, throws on any other failure.
bool Oeffnen(const std::wstring& pfad, REGSAM rechte, Schluessel& k) {
    const LSTATUS s = RegOpenKeyExW(HKEY_CURRENT_USER, pfad.c_str(), 0, rechte, k.Adresse());
    if (s == ERROR_FILE_NOT_FOUND) return false;
    if (s != ERROR_SUCCESS) SystemFehler("Die Einstellungen " + Anzeige(pfad) + " lassen sich nicht öffnen", s);
    return true;
}

// Deletes `name` below `eltern` with everything in it. Throws when it is absent,
// unless `fehltErlaubt`.
void BaumLoeschen(const std::wstring& eltern, const std::wstring& name, bool fehltErlaubt = false) {
    Schluessel k;
    if (!Oeffnen(eltern + L"\\" + name, KEY_READ, k)) {
        if (fehltErlaubt) return;
        Fehler("Die Einstellungen " + Anzeige(eltern + L"\\" + name) + " sind nicht vorhanden.");
    }
    Schluessel e;
    if (!Oeffnen(eltern, KEY_READ | KEY_WRITE, e)) Fehler("Die Einstellungen " + Anzeige(eltern) + " sind nicht vorhanden.");
    LSTATUS s = RegDeleteTreeW(*e, name.c_str());
    if (s == ERROR_SUCCESS) s = RegDeleteKeyW(*e, name.c_str());
    if (s != ERROR_SUCCESS && s != ERROR_FILE_NOT_FOUND)
        SystemFehler("Die Einstellungen " + Anzeige(eltern + L"\\" + name) + " lassen sich nicht löschen", s);
}

}  // namespace

std::optional<std::string> RegistryLesen(std::string_view anwendung, std::string_view abschnitt,
                                         std::string_view schluessel) {
    const std::wstring pfad = AbschnittsPfad(anwendung, abschnitt);
    const std::wstring wert = Name(schluessel, "den Schlüssel");
    Schluessel k;
    if (!Oeffnen(pfad, KEY_QUERY_VALUE, k)) return std::nullopt;
    DWORD typ = 0, groesse = 0;
    LSTATUS s = RegQueryValueExW(*k, wert.c_str(), nullptr, &typ, nullptr, &groesse);
    if (s == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (s != ERROR_SUCCESS) SystemFehler("Die Einstellung " + Anzeige(pfad) + " lässt sich nicht lesen", s);
    std::vector<BYTE> daten(groesse + sizeof(wchar_t));
    s = RegQueryValueExW(*k, wert.c_str(), nullptr, &typ, daten.data(), &groesse);
    if (s != ERROR_SUCCESS) SystemFehler("Die Einstellung " + Anzeige(pfad) + " lässt sich nicht lesen", s);
    switch (typ) {
        case REG_SZ:
        case REG_EXPAND_SZ: {
            std::wstring text(reinterpret_cast<const wchar_t*>(daten.data()), groesse / sizeof(wchar_t));
            if (const auto nul = text.find(L'\0'); nul != std::wstring::npos) text.resize(nul);
            return Schmal(text);
        }
        case REG_DWORD: {
            DWORD zahl = 0;
            memcpy(&zahl, daten.data(), sizeof zahl);
            return std::to_string(zahl);  // a DWORD has no sign
        }
        case REG_QWORD: {
            std::int64_t zahl = 0;
            memcpy(&zahl, daten.data(), sizeof zahl);
            return std::to_string(zahl);
        }
        default:
            Fehler("Die Einstellung " + Schmal(wert) + " unter " + Anzeige(pfad) + " ist kein Text.");
    }
}

namespace {

// Writes one value of type `typ`, creating the keys on the way.
void WertSchreiben(std::string_view anwendung, std::string_view abschnitt, std::string_view schluessel, DWORD typ,
                   const void* daten, DWORD groesse) {
    const std::wstring pfad = AbschnittsPfad(anwendung, abschnitt);
    const std::wstring name = Name(schluessel, "den Schlüssel");
    Schluessel k;
    LSTATUS s = RegCreateKeyExW(HKEY_CURRENT_USER, pfad.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                                nullptr, k.Adresse(), nullptr);
    if (s != ERROR_SUCCESS) SystemFehler("Die Einstellungen " + Anzeige(pfad) + " lassen sich nicht anlegen", s);
    s = RegSetValueExW(*k, name.c_str(), 0, typ, static_cast<const BYTE*>(daten), groesse);
    if (s != ERROR_SUCCESS) SystemFehler("Die Einstellung " + Anzeige(pfad) + " lässt sich nicht schreiben", s);
}

}  // namespace

void RegistrySchreiben(std::string_view anwendung, std::string_view abschnitt, std::string_view schluessel,
                       std::string_view wert) {
    const std::wstring text = Breit(wert);
    WertSchreiben(anwendung, abschnitt, schluessel, REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void RegistryZahlSchreiben(std::string_view anwendung, std::string_view abschnitt, std::string_view schluessel,
                           std::uint32_t wert) {
    const DWORD zahl = wert;
    WertSchreiben(anwendung, abschnitt, schluessel, REG_DWORD, &zahl, sizeof zahl);
}

void RegistryWertLoeschen(std::string_view anwendung, std::string_view abschnitt, std::string_view schluessel) {
    const std::wstring pfad = AbschnittsPfad(anwendung, abschnitt);
    const std::wstring name = Name(schluessel, "den Schlüssel");
    Schluessel k;
    if (!Oeffnen(pfad, KEY_SET_VALUE, k)) Fehler("Die Einstellungen " + Anzeige(pfad) + " sind nicht vorhanden.");
    const LSTATUS s = RegDeleteValueW(*k, name.c_str());
    if (s == ERROR_FILE_NOT_FOUND) Fehler("Die Einstellung " + Schmal(name) + " ist nicht vorhanden.");
    if (s != ERROR_SUCCESS) SystemFehler("Die Einstellung " + Schmal(name) + " lässt sich nicht löschen", s);
}

void RegistryAbschnittLoeschen(std::string_view anwendung, std::string_view abschnitt, bool fehltErlaubt) {
    BaumLoeschen(AnwendungsPfad(anwendung), AbschnittsName(abschnitt), fehltErlaubt);
}

void RegistryAnwendungLoeschen(std::string_view anwendung) {
    BaumLoeschen(L"Software", Name(anwendung, "die Anwendung"));
}

}  // namespace kaldorin::w32
