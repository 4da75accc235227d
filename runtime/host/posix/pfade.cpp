#include "runtime/host/posix/pfade.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <memory>

#include "runtime/host/posix/fehler.h"
#include "runtime/host/posix/text.h"

namespace kaldorin::posix {
namespace {

bool IstTrenner(char c) { return c == '\\' || c == '/'; }

std::vector<std::string> HostTeile(std::string_view pfad) {
    std::vector<std::string> teile;
    std::size_t i = 0;
    while (i < pfad.size()) {
        const std::size_t ende = std::min(pfad.find('/', i), pfad.size());
        const std::string_view teil = pfad.substr(i, ende - i);
        if (teil == "..") {
            if (!teile.empty()) teile.pop_back();
        } else if (!teil.empty() && teil != ".") {
            teile.emplace_back(teil);
        }
        i = ende + 1;
    }
    return teile;
}

std::string HostAusTeilen(const std::vector<std::string>& teile) {
    std::string pfad;
    for (const auto& t : teile) pfad += "/" + t;
    return pfad.empty() ? "/" : pfad;
}

// Whether `voll` begins with all of `anfang`; the rest goes to `rest`.
bool BeginntMit(const std::vector<std::string>& voll, const std::vector<std::string>& anfang,
                std::vector<std::string>& rest) {
    if (voll.size() < anfang.size()) return false;
    for (std::size_t i = 0; i < anfang.size(); ++i) {
        if (voll[i] != anfang[i]) return false;
    }
    rest.assign(voll.begin() + static_cast<std::ptrdiff_t>(anfang.size()), voll.end());
    return true;
}

std::string WindowsAusTeilen(char laufwerk, const std::vector<std::string>& teile) {
    std::string pfad{laufwerk, ':'};
    for (const auto& t : teile) pfad += "\\" + t;
    return pfad;
}

std::optional<std::string> Echtpfad(const std::string& pfad) {
    std::unique_ptr<char, decltype(&std::free)> echt(realpath(pfad.c_str(), nullptr), &std::free);
    if (!echt) return std::nullopt;
    return std::string(echt.get());
}

}  // namespace

WindowsTeile ZerlegeWindowsPfad(std::string_view pfad) {
    const std::string anzeige(pfad);
    for (char c : pfad) {
        if (static_cast<unsigned char>(c) < 0x20) {
            Fehler("Der Pfad \"" + anzeige + "\" enthält ein Steuerzeichen.");
        }
    }
    const bool laufwerkDa = pfad.size() >= 2 && pfad[1] == ':' &&
                            ((pfad[0] >= 'A' && pfad[0] <= 'Z') || (pfad[0] >= 'a' && pfad[0] <= 'z'));
    if (!laufwerkDa || (pfad.size() > 2 && !IstTrenner(pfad[2]))) {
        Fehler("Der Pfad \"" + anzeige + "\" ist kein vollständiger Pfad mit Laufwerk.");
    }
    WindowsTeile ergebnis;
    ergebnis.laufwerk = static_cast<char>(pfad[0] & ~0x20);
    ergebnis.trennerAmEnde = pfad.size() > 2 && IstTrenner(pfad.back());
    std::size_t i = 3;
    while (i < pfad.size()) {
        std::size_t ende = i;
        while (ende < pfad.size() && !IstTrenner(pfad[ende])) ++ende;
        const std::string_view teil = pfad.substr(i, ende - i);
        if (teil == "..") {
            if (!ergebnis.teile.empty()) ergebnis.teile.pop_back();
        } else if (!teil.empty() && teil != ".") {
            ergebnis.teile.emplace_back(teil);
        }
        i = ende + 1;
    }
    return ergebnis;
}

std::optional<std::vector<std::string>> Eintraege(const std::string& ordner) {
    DIR* dir = opendir(ordner.c_str());
    if (dir == nullptr) return std::nullopt;
    std::vector<std::string> namen;
    while (const dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name != "." && name != "..") namen.push_back(name);
    }
    closedir(dir);
    return namen;
}

std::string Verbinde(const std::string& ordner, const std::string& name) {
    return ordner == "/" ? "/" + name : ordner + "/" + name;
}

std::optional<std::string> FindeEintrag(const std::string& ordner, const std::string& name) {
    struct stat st {};
    if (lstat(Verbinde(ordner, name).c_str(), &st) == 0) return name;
    const auto namen = Eintraege(ordner);
    if (!namen) return std::nullopt;
    const std::u32string gesucht = Gefaltet(name);
    std::optional<std::string> bester;
    for (const auto& kandidat : *namen) {
        if (Gefaltet(kandidat) != gesucht) continue;
        if (!bester || kandidat < *bester) bester = kandidat;
    }
    return bester;
}

Pfadabbildung::Pfadabbildung(std::string prefix) : prefix_(Absolut(prefix)) {}

std::string Pfadabbildung::Wurzel(const WindowsTeile& teile) const {
    if (teile.laufwerk == 'C') return LaufwerkC();
    if (teile.laufwerk == 'Z') return "/";
    Fehler(std::string("Das Laufwerk ") + teile.laufwerk + ": ist nicht vorhanden.");
}

std::string Pfadabbildung::HostPfad(std::string_view windowsPfad) const {
    return HostPfad(ZerlegeWindowsPfad(windowsPfad));
}

std::string Pfadabbildung::HostPfad(const WindowsTeile& teile) const {
    std::string pfad = Wurzel(teile);
    bool aufloesen = true;
    for (const auto& teil : teile.teile) {
        std::optional<std::string> gefunden;
        if (aufloesen) gefunden = FindeEintrag(pfad, teil);
        // Once a component is missing, nothing below it can exist.
        if (!gefunden) aufloesen = false;
        pfad = Verbinde(pfad, gefunden ? *gefunden : teil);
    }
    return pfad;
}

std::pair<std::string, std::string> Pfadabbildung::OrdnerUndName(const WindowsTeile& teile) const {
    if (teile.teile.empty()) return {Wurzel(teile), ""};
    WindowsTeile ordner = teile;
    ordner.teile.pop_back();
    return {HostPfad(ordner), teile.teile.back()};
}

std::string Pfadabbildung::WindowsPfad(std::string_view hostPfad) const {
    if (hostPfad.empty() || hostPfad.front() != '/') {
        Fehler("Der Pfad \"" + std::string(hostPfad) + "\" ist kein absoluter Pfad.");
    }
    const auto teile = HostTeile(hostPfad);
    const auto laufwerkC = HostTeile(LaufwerkC());
    std::vector<std::string> rest;
    if (BeginntMit(teile, laufwerkC, rest)) return WindowsAusTeilen('C', rest);
    // The same place reached through a symbolic link still belongs to drive C.
    const auto echt = Echtpfad(HostAusTeilen(teile));
    const auto echtC = Echtpfad(LaufwerkC());
    if (echt && echtC && BeginntMit(HostTeile(*echt), HostTeile(*echtC), rest)) {
        return WindowsAusTeilen('C', rest);
    }
    return WindowsAusTeilen('Z', teile);
}

std::string Absolut(std::string_view pfad) {
    if (!pfad.empty() && pfad.front() == '/') return HostAusTeilen(HostTeile(pfad));
    char puffer[PATH_MAX];
    if (getcwd(puffer, sizeof puffer) == nullptr) SystemFehler("Der Arbeitsordner ist nicht lesbar");
    return HostAusTeilen(HostTeile(std::string(puffer) + "/" + std::string(pfad)));
}

std::string PrefixAusUmgebung() {
    const auto variable = [](const char* name) -> std::string {
        const char* wert = std::getenv(name);
        return wert ? wert : "";
    };
    if (auto eigen = variable("KALDORIN_PREFIX"); !eigen.empty()) return Absolut(eigen);
    // XDG: a relative value is invalid and ignored.
    if (auto daten = variable("XDG_DATA_HOME"); !daten.empty() && daten.front() == '/') {
        return Absolut(daten + "/kaldorin");
    }
    std::string heim = variable("HOME");
    if (heim.empty()) {
        if (const passwd* pw = getpwuid(getuid()); pw && pw->pw_dir) heim = pw->pw_dir;
    }
    if (heim.empty()) Fehler("Der Benutzerordner ist nicht bekannt.");
    return Absolut(heim + "/.local/share/kaldorin");
}

}  // namespace kaldorin::posix
