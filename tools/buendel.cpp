#include "tools/buendel.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "runtime/bundle.h"
#include "runtime/host/posix/posix_host.h"
#include "runtime/sha256.h"
#include "tools/medium.h"
#include "tools/medium_liste.h"
#include "tools/packen.h"

namespace kaldorin::pack {

namespace {

constexpr std::size_t kStueck = std::size_t{1} << 20;

struct DateiZu {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using Datei = std::unique_ptr<std::FILE, DateiZu>;

Datei Oeffnen(const fs::path& pfad, const char* modus) {
    Datei d(std::fopen(pfad.string().c_str(), modus));
    if (!d) throw PackFehler("\"" + pfad.string() + "\" kann nicht geöffnet werden.");
    return d;
}

std::vector<std::uint8_t> Ganz(const fs::path& pfad) {
    Datei d = Oeffnen(pfad, "rb");
    std::vector<std::uint8_t> daten;
    std::vector<std::uint8_t> puffer(kStueck);
    while (const std::size_t n = std::fread(puffer.data(), 1, puffer.size(), d.get()))
        daten.insert(daten.end(), puffer.begin(), puffer.begin() + static_cast<std::ptrdiff_t>(n));
    if (std::ferror(d.get())) throw PackFehler("\"" + pfad.string() + "\" kann nicht gelesen werden.");
    return daten;
}

// Where the locator's mark stands in `daten`, every place.
std::vector<std::size_t> Marken(std::span<const std::uint8_t> daten) {
    std::vector<std::size_t> orte;
    const auto* marke = reinterpret_cast<const std::uint8_t*>(kBundleLocatorMark.data());
    for (auto it = daten.begin();;) {
        it = std::search(it, daten.end(), marke, marke + kBundleLocatorMark.size());
        if (it == daten.end()) return orte;
        orte.push_back(static_cast<std::size_t>(it - daten.begin()));
        ++it;
    }
}

std::optional<fs::path> Programm(const fs::path& medium, const std::optional<fs::path>& setup) {
    if (setup) return setup;
    for (const char* name : {"Setup.exe", "kaldorin-setup"}) {
        if (auto p = FindeOhneFall(medium, name)) return p;
    }
    return std::nullopt;
}

struct Teil {
    fs::path pfad;
    BundleEntry eintrag;
};

// The packed files in the order the setup program reads them, then the others of the
// medium (names ending in "_") by name: a fixed order.
std::vector<Teil> Teile(const fs::path& medium) {
    std::vector<Teil> teile;
    const auto dazu = [&](const fs::path& p) {
        const std::string name = p.filename().string();
        teile.push_back({p, BundleEntry{name, 0, fs::file_size(p)}});
    };
    for (const MediumDatei& d : Medium()) {
        if (const auto p = FindeOhneFall(medium, d.quelle)) {
            dazu(*p);
        } else if (d.haupt) {
            throw PackFehler("Die Hauptdatei \"" + d.quelle + "\" fehlt im Medium \"" + medium.string() + "\".");
        }
    }
    std::vector<fs::path> andere;
    for (const auto& e : fs::directory_iterator(medium)) {
        const std::string name = e.path().filename().string();
        const bool bekannt = std::any_of(teile.begin(), teile.end(), [&](const Teil& t) { return t.pfad == e.path(); });
        if (e.is_regular_file() && name.ends_with('_') && !bekannt) andere.push_back(e.path());
    }
    std::sort(andere.begin(), andere.end());
    for (const fs::path& p : andere) dazu(p);
    // What the setup program would refuse is refused here, before anything is written.
    if (teile.size() > kBundleMaxEntries)
        throw PackFehler("Das Medium hat mehr als " + std::to_string(kBundleMaxEntries) + " gepackte Dateien.");
    for (const Teil& t : teile) {
        const std::string& n = t.eintrag.name;
        if (!IsBundleName(n))
            throw PackFehler("Der Name \"" + n + "\" kann nicht ins Inhaltsverzeichnis.");
    }
    return teile;
}

void Anfuegen(std::FILE* aus, std::span<const std::uint8_t> bytes, Sha256* hash, const fs::path& ziel) {
    if (std::fwrite(bytes.data(), 1, bytes.size(), aus) != bytes.size())
        throw PackFehler("\"" + ziel.string() + "\" kann nicht geschrieben werden.");
    if (hash) hash->Update(bytes);
}

void Schreiben(const fs::path& ziel, const std::vector<std::uint8_t>& programm,
               const std::vector<std::uint8_t>& inhalt, const std::vector<Teil>& teile, Fortschritt& fortschritt) {
    const std::unique_ptr<Sha256> hash = MakeSha256();
    std::FILE* aus = std::fopen(ziel.string().c_str(), "wb");
    if (!aus) throw PackFehler("\"" + ziel.string() + "\" kann nicht geöffnet werden.");
    const Datei zu(aus);
    Anfuegen(aus, programm, nullptr, ziel);
    Anfuegen(aus, inhalt, hash.get(), ziel);
    std::vector<std::uint8_t> puffer(kStueck);
    for (const Teil& t : teile) {
        Datei ein = Oeffnen(t.pfad, "rb");
        fortschritt.Beginnen(t.eintrag.name, t.eintrag.length);
        std::uint64_t gelesen = 0;
        while (const std::size_t n = std::fread(puffer.data(), 1, puffer.size(), ein.get())) {
            Anfuegen(aus, std::span(puffer.data(), n), hash.get(), ziel);
            gelesen += n;
            fortschritt.Weiter(n);
        }
        fortschritt.Beenden();
        if (std::ferror(ein.get()) || gelesen != t.eintrag.length)
            throw PackFehler("\"" + t.pfad.string() + "\" hat sich beim Lesen verändert.");
    }
    Anfuegen(aus, hash->Finish(), nullptr, ziel);
    if (std::fflush(aus) != 0) throw PackFehler("\"" + ziel.string() + "\" kann nicht geschrieben werden.");
}

}  // namespace

int BaueBuendel(const fs::path& medium, const fs::path& datei, const std::optional<fs::path>& setup,
                Fortschritt& fortschritt, std::ostream& bericht) {
    if (!fs::is_directory(medium)) throw PackFehler("Der Ordner \"" + medium.string() + "\" fehlt.");
    const auto quelle = Programm(medium, setup);
    if (!quelle || !fs::is_regular_file(*quelle))
        throw PackFehler("Das Medium \"" + medium.string() + "\" hat kein Setup-Programm (Setup.exe oder "
                         "kaldorin-setup); --setup nennt eines.");
    std::vector<std::uint8_t> programm = Ganz(*quelle);
    const std::vector<std::size_t> marken = Marken(programm);
    if (marken.size() != 1)
        throw PackFehler("\"" + quelle->string() + "\" ist kein Setup-Programm, das ein Medium tragen kann" +
                         (marken.empty() ? "." : " (seine Marke steht mehrfach darin)."));
    const std::span<std::uint8_t, kBundleLocatorSize> ort(programm.data() + marken[0], kBundleLocatorSize);
    if (ReadBundleLocator(ort))
        throw PackFehler("\"" + quelle->string() + "\" trägt schon ein Medium.");

    std::vector<Teil> teile = Teile(medium);
    std::vector<BundleEntry> eintraege;
    for (const Teil& t : teile) eintraege.push_back(t.eintrag);
    const std::vector<std::uint8_t> inhalt = MakeBundleContents(eintraege);
    std::uint64_t laenge = inhalt.size() + kBundleHashSize;
    for (std::size_t i = 0; i < teile.size(); ++i) {
        teile[i].eintrag = eintraege[i];
        laenge += eintraege[i].length;
    }
    // The locator: the payload follows the program.
    const ByteRange nutzlast{programm.size(), laenge};
    for (int i = 0; i < 8; ++i) {
        ort[16 + i] = static_cast<std::uint8_t>(nutzlast.offset >> (8 * i));
        ort[24 + i] = static_cast<std::uint8_t>(nutzlast.length >> (8 * i));
    }

    const fs::path temp = fs::path(datei).concat(".kaldorin-pack-tmp");
    try {
        Schreiben(temp, programm, inhalt, teile, fortschritt);
        fs::permissions(temp, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
        fs::rename(temp, datei);
    } catch (...) {
        std::error_code ec;
        fs::remove(temp, ec);
        throw;
    }
    bericht << "  " << quelle->filename().string() << " + " << teile.size() << " gepackte Dateien -> "
            << datei.string() << " (" << fs::file_size(datei) << " Bytes)\n";
    return 0;
}

int PruefeBuendel(const fs::path& datei, Fortschritt& fortschritt, std::ostream& bericht) {
    // The locator stands in the program, before the payload: the first mark is it.
    std::optional<std::array<std::uint8_t, kBundleLocatorSize>> ort;
    {
        Datei ein = Oeffnen(datei, "rb");
        std::vector<std::uint8_t> puffer;
        std::vector<std::uint8_t> stueck(kStueck);
        while (!ort) {
            const std::size_t n = std::fread(stueck.data(), 1, stueck.size(), ein.get());
            if (n == 0) break;
            // Keeps the tail of the last piece, so that a mark across two pieces is found.
            const std::size_t rest = std::min(puffer.size(), kBundleLocatorSize);
            puffer.erase(puffer.begin(), puffer.end() - static_cast<std::ptrdiff_t>(rest));
            puffer.insert(puffer.end(), stueck.begin(), stueck.begin() + static_cast<std::ptrdiff_t>(n));
            const auto marken = Marken(puffer);
            if (!marken.empty() && puffer.size() - marken[0] >= kBundleLocatorSize) {
                ort.emplace();
                std::copy_n(puffer.begin() + static_cast<std::ptrdiff_t>(marken[0]), kBundleLocatorSize, ort->begin());
            }
        }
    }
    if (!ort || !ReadBundleLocator(*ort)) {
        bericht << "  FEHLER   " << datei.string() << " trägt kein Medium.\n";
        return 1;
    }
    std::optional<Bundle> b;
    try {
        b = CheckBundleFile(datei.string(), *ort);
    } catch (const Laufzeitfehler& e) {
        bericht << "  FEHLER   " << e.what() << "\n";
        return 1;
    }
    bericht << "  gut      Inhaltsverzeichnis und Prüfsumme (" << b->entries.size() << " Dateien)\n";
    int schlecht = 0;
    const BundleFolder ordner("X:", *b);
    for (const MediumDatei& d : Medium()) {
        if (d.haupt && !ordner.Member("X:\\" + d.quelle)) {
            bericht << "  FEHLER   " << d.quelle << ": die Hauptdatei fehlt.\n";
            ++schlecht;
        }
    }
    for (const BundleEntry& e : b->entries) {
        try {
            const std::uint64_t n =
                EntpackeMediumTeil(datei, ByteRange{e.offset, e.length}, e.name, [](auto) {}, fortschritt);
            bericht << "  gut      " << e.name << " (" << n << " Bytes)\n";
        } catch (const std::exception& f) {
            fortschritt.Beenden();
            bericht << "  FEHLER   " << e.name << ": " << f.what() << "\n";
            ++schlecht;
        }
    }
    bericht << (schlecht == 0 ? "Das Programm und sein Medium sind in Ordnung.\n"
                              : std::to_string(schlecht) + " Datei(en) fehlerhaft.\n");
    return schlecht == 0 ? 0 : 1;
}

}  // namespace kaldorin::pack
