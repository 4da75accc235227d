#include "tools/medium.h"

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "tools/demo.h"
#include "tools/medium_liste.h"

namespace kaldorin::pack {

namespace {

// ASCII letters fold; other bytes (the UTF-8 of "ß" and umlauts) compare as they are.
bool GleichOhneFall(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto klein = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
               return klein(x) == klein(y);
           });
}

std::vector<std::string> Teile(std::string_view name) {
    std::vector<std::string> teile;
    std::size_t anfang = 0;
    while (anfang <= name.size()) {
        const std::size_t ende = std::min(name.find('\\', anfang), name.size());
        if (ende > anfang) teile.emplace_back(name.substr(anfang, ende - anfang));
        anfang = ende + 1;
    }
    return teile;
}

fs::path Relativ(std::string_view name) {
    fs::path p;
    for (const std::string& t : Teile(name)) p /= fs::path(std::u8string(t.begin(), t.end()));
    return p;
}

std::string Groesse(std::uint64_t bytes) {
    if (bytes < 10000) return std::to_string(bytes) + " B";
    if (bytes < 10000000) return std::to_string(bytes / 1000) + " kB";
    return std::to_string(bytes / 1000000) + " MB";
}

void Zeile(std::ostream& bericht, std::string_view quelle, std::uint64_t vorher,
           std::uint64_t nachher, std::string_view ziel) {
    bericht << "  " << quelle << std::string(14 - std::min<std::size_t>(14, quelle.size()), ' ')
            << Groesse(vorher) << " -> " << Groesse(nachher) << "  (" << ziel << ")\n";
}

// The setup program to pack as Setup.ex_: --setup, else the one beside this tool.
std::optional<fs::path> SetupProgramm(const MediumOptionen& o) {
    if (o.setup) return o.setup;
    const fs::path daneben = o.werkzeugOrdner / "kaldorin-setup";
    if (fs::is_regular_file(daneben)) return daneben;
    return std::nullopt;
}

// Puts the setup program beside the packed files, so the medium starts from itself.
void SetupDaneben(const std::optional<fs::path>& setup, const fs::path& medium,
                  std::ostream& bericht) {
    if (!setup) return;
    const fs::path ordner = setup->parent_path();
    const fs::path posix = ordner / "kaldorin-setup";
    const fs::path windows = ordner / "kaldorin-setup.exe";
    bool kopiert = false;
    if (fs::is_regular_file(posix)) {
        KopiereDatei(posix, medium / "kaldorin-setup");
        bericht << "  kaldorin-setup (ungepackt)\n";
        kopiert = true;
    }
    if (fs::is_regular_file(windows)) {
        KopiereDatei(windows, medium / "Setup.exe");
        bericht << "  Setup.exe (ungepackt)\n";
        kopiert = true;
    }
    if (!kopiert && fs::is_regular_file(*setup)) {
        KopiereDatei(*setup, medium / setup->filename());
        bericht << "  " << setup->filename().string() << " (ungepackt)\n";
    }
}

}  // namespace

std::optional<fs::path> FindeOhneFall(const fs::path& ordner, std::string_view name) {
    fs::path p = ordner;
    for (const std::string& teil : Teile(name)) {
        std::optional<fs::path> gefunden;
        std::error_code ec;
        for (const auto& e : fs::directory_iterator(p, ec)) {
            const std::u8string u = e.path().filename().u8string();
            if (GleichOhneFall(std::string(u.begin(), u.end()), teil)) {
                gefunden = e.path();
                break;
            }
        }
        if (!gefunden) return std::nullopt;
        p = *gefunden;
    }
    return fs::is_regular_file(p) ? std::optional(p) : std::nullopt;
}

int BaueMedium(const fs::path& anwendung, const fs::path& medium, const MediumOptionen& o,
               Fortschritt& fortschritt, std::ostream& bericht) {
    if (!fs::is_directory(anwendung)) {
        std::cerr << "kaldorin-pack: der Anwendungsordner \"" << anwendung.string() << "\" fehlt.\n";
        return 1;
    }
    // Every main file must be there before anything is written.
    std::vector<std::optional<fs::path>> quellen;
    bool vollstaendig = true;
    const auto setup = SetupProgramm(o);
    for (const MediumDatei& d : Medium()) {
        auto q = d.quelle == kSetupQuelle && setup ? setup : FindeOhneFall(anwendung, d.ziel);
        if (!q && d.haupt) {
            std::cerr << "kaldorin-pack: die Hauptdatei \"" << d.ziel << "\" fehlt in \""
                    << anwendung.string() << "\".\n";
            vollstaendig = false;
        }
        quellen.push_back(q);
    }
    if (!vollstaendig) return 1;

    fs::create_directories(medium);
    for (std::size_t i = 0; i < Medium().size(); ++i) {
        const MediumDatei& d = Medium()[i];
        if (!quellen[i]) {
            bericht << "  " << d.quelle << " übersprungen: \"" << d.ziel << "\" fehlt\n";
            continue;
        }
        const fs::path ziel = medium / fs::path(d.quelle);
        const std::uint64_t n = PackeDatei(*quellen[i], ziel, o.packen, fortschritt);
        Zeile(bericht, d.quelle, fs::file_size(*quellen[i]), n, d.ziel);
    }
    SetupDaneben(setup, medium, bericht);
    return 0;
}

int BaueDemo(const fs::path& medium, double massstab, const std::optional<fs::path>& anwendung,
             const MediumOptionen& o, Fortschritt& fortschritt, std::ostream& bericht) {
    fs::create_directories(medium);
    for (const MediumDatei& d : Medium()) {
        const std::vector<std::uint8_t> inhalt = DemoInhalt(d.ziel, massstab);
        if (anwendung) {
            const fs::path ziel = *anwendung / Relativ(d.ziel);
            fs::create_directories(ziel.parent_path());
            std::FILE* f = std::fopen(ziel.string().c_str(), "wb");
            const bool gut = f != nullptr &&
                             std::fwrite(inhalt.data(), 1, inhalt.size(), f) == inhalt.size();
            if (f == nullptr || std::fclose(f) != 0 || !gut) {
                throw PackFehler("\"" + ziel.string() + "\" kann nicht geschrieben werden.");
            }
        }
        const std::uint64_t n =
            PackeInhalt(inhalt, medium / fs::path(d.quelle), o.packen, fortschritt);
        Zeile(bericht, d.quelle, inhalt.size(), n, d.ziel);
    }
    SetupDaneben(SetupProgramm(o), medium, bericht);
    return 0;
}

int PruefeMedium(const fs::path& medium, Fortschritt& fortschritt, std::ostream& bericht) {
    if (!fs::is_directory(medium)) {
        std::cerr << "kaldorin-pack: der Ordner \"" << medium.string() << "\" fehlt.\n";
        return 1;
    }
    int schlecht = 0;
    std::vector<fs::path> geprueft;
    const auto pruefe = [&](const fs::path& datei) {
        geprueft.push_back(datei);
        try {
            const std::uint64_t n = EntpackeMedium(datei, [](auto) {}, fortschritt);
            bericht << "  gut      " << datei.filename().string() << " (" << Groesse(n) << ")\n";
        } catch (const std::exception& e) {
            fortschritt.Beenden();
            bericht << "  FEHLER   " << datei.filename().string() << ": " << e.what() << "\n";
            ++schlecht;
        }
    };
    for (const MediumDatei& d : Medium()) {
        const auto datei = FindeOhneFall(medium, d.quelle);
        if (datei) {
            pruefe(*datei);
        } else if (d.haupt) {
            bericht << "  FEHLER   " << d.quelle << ": die Hauptdatei fehlt.\n";
            ++schlecht;
        }
    }
    // Packed files the list does not know: their names end in "_" as well.
    for (const auto& e : fs::directory_iterator(medium)) {
        const std::string name = e.path().filename().string();
        if (e.is_regular_file() && !name.empty() && name.back() == '_' &&
            std::find(geprueft.begin(), geprueft.end(), e.path()) == geprueft.end()) {
            pruefe(e.path());
        }
    }
    bericht << (schlecht == 0 ? "Das Medium ist in Ordnung.\n"
                              : std::to_string(schlecht) + " Datei(en) fehlerhaft.\n");
    return schlecht == 0 ? 0 : 1;
}

}  // namespace kaldorin::pack
