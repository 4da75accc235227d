#include "runtime/host/posix/einstellungen.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "runtime/host/posix/fehler.h"
#include "runtime/host/posix/text.h"

namespace kaldorin::posix {
namespace {

using Zeile = Einstellungen::Zeile;
using Inhalt = Einstellungen::Inhalt;

// Holds a flock on the lock file for its lifetime.
class Sperre {
public:
    Sperre(const std::string& datei, int art) {
        fd_ = open(datei.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd_ < 0 && art == LOCK_SH) {
            // A reader in a folder it may not write: an existing lock file still
            // works read-only, and without one the atomic rename of every write
            // already keeps a reader from seeing half a file.
            fd_ = open(datei.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd_ < 0) return;
        }
        if (fd_ < 0) SystemFehler("Die Sperrdatei der Einstellungen lässt sich nicht öffnen");
        while (flock(fd_, art) != 0) {
            if (errno == EINTR) continue;
            const int fehler = errno;
            close(fd_);
            SystemFehler("Die Einstellungen lassen sich nicht sperren", fehler);
        }
    }
    ~Sperre() {
        if (fd_ >= 0) close(fd_);  // closing releases the lock
    }
    Sperre(const Sperre&) = delete;
    Sperre& operator=(const Sperre&) = delete;

private:
    int fd_ = -1;
};

std::string_view Trimme(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

[[noreturn]] void Ungueltig(std::string_view name) {
    Fehler("\"" + std::string(name) + "\" ist kein gültiger Name für eine Einstellung.");
}

void PruefeName(std::string_view name, std::string_view verboten) {
    if (name.empty() || !GueltigesUtf8(name) || Trimme(name).size() != name.size()) Ungueltig(name);
    for (char c : name) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F || verboten.find(c) != std::string_view::npos) Ungueltig(name);
    }
}

void PruefeAnwendung(std::string_view a) { PruefeName(a, "\\[]"); }

void PruefeAbschnitt(std::string_view s) {
    PruefeName(s, "[]");
    if (s.front() == '\\' || s.back() == '\\' || s.find("\\\\") != std::string_view::npos) {
        Ungueltig(s);
    }
}

void PruefeSchluessel(std::string_view k) {
    PruefeName(k, "=");
    if (k.front() == ';' || k.front() == '#' || k.front() == '[') Ungueltig(k);
}

std::string Dekodiere(std::string_view roh, int zeilennummer) {
    if (roh.empty() || roh.front() != '"') return std::string(roh);
    const auto kaputt = [zeilennummer]() {
        Fehler("Die Einstellungsdatei ist in Zeile " + std::to_string(zeilennummer) +
               " beschädigt: ungültiger Wert in Anführungszeichen.");
    };
    std::string wert;
    for (std::size_t i = 1; i < roh.size(); ++i) {
        const char c = roh[i];
        if (c == '"') {
            if (i + 1 != roh.size()) kaputt();
            return wert;
        }
        if (c != '\\') {
            wert.push_back(c);
            continue;
        }
        if (++i >= roh.size()) kaputt();
        switch (roh[i]) {
            case '\\': wert.push_back('\\'); break;
            case '"': wert.push_back('"'); break;
            case 'n': wert.push_back('\n'); break;
            case 'r': wert.push_back('\r'); break;
            case 't': wert.push_back('\t'); break;
            case 'x': {
                if (i + 2 >= roh.size()) kaputt();
                unsigned wert16 = 0;
                for (int k = 1; k <= 2; ++k) {
                    const char h = roh[i + k];
                    wert16 <<= 4;
                    if (h >= '0' && h <= '9') wert16 |= h - '0';
                    else if (h >= 'a' && h <= 'f') wert16 |= h - 'a' + 10;
                    else if (h >= 'A' && h <= 'F') wert16 |= h - 'A' + 10;
                    else kaputt();
                }
                wert.push_back(static_cast<char>(wert16));
                i += 2;
                break;
            }
            default: kaputt();
        }
    }
    kaputt();
    return wert;
}

bool AbschnittPasst(const Zeile& kopf, std::string_view anwendung, std::string_view abschnitt) {
    return kopf.art == Zeile::Art::Kopf && GleichOhneFall(kopf.anwendung, anwendung) &&
           GleichOhneFall(kopf.abschnitt, abschnitt);
}

// The section itself or one below it ("A\B" under "A").
bool AbschnittOderDarunter(const Zeile& kopf, std::string_view anwendung,
                           std::string_view abschnitt) {
    if (kopf.art != Zeile::Art::Kopf || !GleichOhneFall(kopf.anwendung, anwendung)) return false;
    const std::u32string eigen = Gefaltet(kopf.abschnitt);
    const std::u32string gesucht = Gefaltet(abschnitt);
    return eigen == gesucht ||
           (eigen.size() > gesucht.size() && eigen.compare(0, gesucht.size(), gesucht) == 0 &&
            eigen[gesucht.size()] == U'\\');
}

// For every line the index of the header above it, -1 before the first header.
std::vector<long> Koepfe(const Inhalt& inhalt) {
    std::vector<long> kopf(inhalt.zeilen.size(), -1);
    long aktuell = -1;
    for (std::size_t i = 0; i < inhalt.zeilen.size(); ++i) {
        if (inhalt.zeilen[i].art == Zeile::Art::Kopf) aktuell = static_cast<long>(i);
        kopf[i] = aktuell;
    }
    return kopf;
}

std::optional<std::size_t> FindeWert(const Inhalt& inhalt, std::string_view anwendung,
                                     std::string_view abschnitt, std::string_view schluessel) {
    const auto kopf = Koepfe(inhalt);
    for (std::size_t i = 0; i < inhalt.zeilen.size(); ++i) {
        const Zeile& z = inhalt.zeilen[i];
        if (z.art == Zeile::Art::Wert && kopf[i] >= 0 &&
            AbschnittPasst(inhalt.zeilen[kopf[i]], anwendung, abschnitt) &&
            GleichOhneFall(z.schluessel, schluessel)) {
            return i;
        }
    }
    return std::nullopt;
}

Zeile KopfZeile(std::string_view anwendung, std::string_view abschnitt) {
    Zeile z;
    z.art = Zeile::Art::Kopf;
    z.anwendung = anwendung;
    z.abschnitt = abschnitt;
    z.roh = "[" + z.anwendung + (abschnitt.empty() ? "" : "\\" + z.abschnitt) + "]";
    return z;
}

Zeile WertZeileAus(std::string_view schluessel, std::string_view wert) {
    Zeile z;
    z.art = Zeile::Art::Wert;
    z.schluessel = schluessel;
    z.wert = wert;
    z.roh = Einstellungen::WertZeile(schluessel, wert);
    return z;
}

// Removes every block (header and the lines up to the next header) whose header
// satisfies `weg`. Returns the index where the first removed block stood.
std::optional<std::size_t> EntferneBloecke(Inhalt& inhalt,
                                           const std::function<bool(const Zeile&)>& weg) {
    std::vector<Zeile> behalten;
    std::optional<std::size_t> erste;
    bool imBlock = false;
    for (auto& z : inhalt.zeilen) {
        if (z.art == Zeile::Art::Kopf) {
            imBlock = weg(z);
            if (imBlock && !erste) erste = behalten.size();
        }
        if (!imBlock) behalten.push_back(std::move(z));
    }
    inhalt.zeilen = std::move(behalten);
    return erste;
}

[[noreturn]] void NichtVorhanden(const std::string& was) {
    Fehler(was + " ist in den Einstellungen nicht vorhanden.");
}

std::optional<std::string> LiesDatei(const std::string& datei) {
    const int fd = open(datei.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return std::nullopt;
        SystemFehler("Die Einstellungsdatei " + datei + " ist nicht lesbar");
    }
    struct stat st {};
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        Fehler("Die Einstellungsdatei " + datei + " ist keine gewöhnliche Datei.");
    }
    std::string text;
    char puffer[65536];
    for (;;) {
        const ssize_t n = read(fd, puffer, sizeof puffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int fehler = errno;
            close(fd);
            SystemFehler("Die Einstellungsdatei " + datei + " ist nicht lesbar", fehler);
        }
        if (n == 0) break;
        text.append(puffer, static_cast<std::size_t>(n));
    }
    close(fd);
    return text;
}

void SchreibeAlles(int fd, const std::string& text) {
    std::size_t geschrieben = 0;
    while (geschrieben < text.size()) {
        const ssize_t n = write(fd, text.data() + geschrieben, text.size() - geschrieben);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw errno;
        geschrieben += static_cast<std::size_t>(n);
    }
}

}  // namespace

Einstellungen::Einstellungen(std::string datei)
    : datei_(std::move(datei)), sperrdatei_(datei_ + ".lock") {}

Einstellungen::Inhalt Einstellungen::Zerlege(std::string_view text) {
    Inhalt inhalt;
    if (text.substr(0, 3) == "\xEF\xBB\xBF") {
        inhalt.bom = true;
        text.remove_prefix(3);
    }
    if (!GueltigesUtf8(text) || text.find('\0') != std::string_view::npos) {
        Fehler("Die Einstellungsdatei ist beschädigt: sie ist kein gültiger UTF-8-Text.");
    }
    bool kopfGesehen = false;
    int nummer = 0;
    std::size_t anfang = 0;
    while (anfang < text.size()) {
        const std::size_t ende = std::min(text.find('\n', anfang), text.size());
        Zeile z;
        z.roh = text.substr(anfang, ende - anfang);
        anfang = ende + 1;
        ++nummer;
        const auto kaputt = [nummer](const char* was) {
            Fehler("Die Einstellungsdatei ist in Zeile " + std::to_string(nummer) +
                   " beschädigt: " + was + ".");
        };
        std::string_view sicht = z.roh;
        if (!sicht.empty() && sicht.back() == '\r') sicht.remove_suffix(1);
        sicht = Trimme(sicht);
        if (sicht.empty()) {
            z.art = Zeile::Art::Leer;
        } else if (sicht.front() == ';' || sicht.front() == '#') {
            z.art = Zeile::Art::Kommentar;
        } else if (sicht.front() == '[') {
            if (sicht.back() != ']' || sicht.size() < 3) kaputt("unvollständige Abschnittszeile");
            const std::string_view innen = sicht.substr(1, sicht.size() - 2);
            const std::size_t trenner = innen.find('\\');
            z.art = Zeile::Art::Kopf;
            z.anwendung = innen.substr(0, trenner);
            z.abschnitt = trenner == std::string_view::npos ? "" : innen.substr(trenner + 1);
            if (z.anwendung.empty() || (trenner != std::string_view::npos && z.abschnitt.empty())) {
                kaputt("leerer Name in der Abschnittszeile");
            }
            kopfGesehen = true;
        } else {
            const std::size_t gleich = sicht.find('=');
            if (gleich == std::string_view::npos) kaputt("Zeile ohne \"=\"");
            if (!kopfGesehen) kaputt("Wert außerhalb eines Abschnitts");
            z.art = Zeile::Art::Wert;
            z.schluessel = Trimme(sicht.substr(0, gleich));
            if (z.schluessel.empty()) kaputt("Wert ohne Namen");
            z.wert = Dekodiere(Trimme(sicht.substr(gleich + 1)), nummer);
        }
        inhalt.zeilen.push_back(std::move(z));
    }
    return inhalt;
}

std::string Einstellungen::Zusammensetzen(const Inhalt& inhalt) {
    std::string text = inhalt.bom ? "\xEF\xBB\xBF" : "";
    for (const auto& z : inhalt.zeilen) text += z.roh + "\n";
    return text;
}

std::string Einstellungen::WertZeile(std::string_view schluessel, std::string_view wert) {
    bool zitieren = !wert.empty() && (wert.front() == '"' || wert.front() == ' ' ||
                                      wert.front() == '\t' || wert.back() == ' ' ||
                                      wert.back() == '\t');
    for (char c : wert) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x20 || b == 0x7F) zitieren = true;
    }
    std::string zeile = std::string(schluessel) + "=";
    if (!zitieren) return zeile + std::string(wert);
    zeile += '"';
    for (char c : wert) {
        const auto b = static_cast<unsigned char>(c);
        switch (c) {
            case '\\': zeile += "\\\\"; break;
            case '"': zeile += "\\\""; break;
            case '\n': zeile += "\\n"; break;
            case '\r': zeile += "\\r"; break;
            case '\t': zeile += "\\t"; break;
            default:
                if (b < 0x20 || b == 0x7F) {
                    char hex[5];
                    std::snprintf(hex, sizeof hex, "\\x%02X", b);
                    zeile += hex;
                } else {
                    zeile += c;
                }
        }
    }
    return zeile + '"';
}

Einstellungen::Inhalt Einstellungen::LiesUnterSperre() const {
    const auto text = LiesDatei(datei_);
    return text ? Zerlege(*text) : Inhalt{};
}

std::optional<std::string> Einstellungen::Lesen(std::string_view anwendung,
                                                std::string_view abschnitt,
                                                std::string_view schluessel) const {
    PruefeAnwendung(anwendung);
    PruefeAbschnitt(abschnitt);
    PruefeSchluessel(schluessel);
    Sperre sperre(sperrdatei_, LOCK_SH);
    const Inhalt inhalt = LiesUnterSperre();
    if (auto i = FindeWert(inhalt, anwendung, abschnitt, schluessel)) return inhalt.zeilen[*i].wert;
    return std::nullopt;
}

void Einstellungen::Schreiben(std::string_view anwendung, std::string_view abschnitt,
                              std::string_view schluessel, std::string_view wert) {
    PruefeAnwendung(anwendung);
    PruefeAbschnitt(abschnitt);
    PruefeSchluessel(schluessel);
    if (!GueltigesUtf8(wert)) Fehler("Der Wert der Einstellung ist kein gültiger UTF-8-Text.");
    Aendere([&](Inhalt& inhalt) {
        if (auto i = FindeWert(inhalt, anwendung, abschnitt, schluessel)) {
            Zeile& z = inhalt.zeilen[*i];
            z = WertZeileAus(z.schluessel, wert);  // the name keeps its spelling
            return;
        }
        const auto kopf = Koepfe(inhalt);
        for (std::size_t h = 0; h < inhalt.zeilen.size(); ++h) {
            if (!AbschnittPasst(inhalt.zeilen[h], anwendung, abschnitt)) continue;
            // After the block's last non-empty line, before its trailing blank lines.
            std::size_t nach = h;
            for (std::size_t i = h + 1; i < inhalt.zeilen.size() && kopf[i] == static_cast<long>(h); ++i) {
                if (inhalt.zeilen[i].art != Zeile::Art::Leer) nach = i;
            }
            inhalt.zeilen.insert(inhalt.zeilen.begin() + static_cast<std::ptrdiff_t>(nach + 1),
                                 WertZeileAus(schluessel, wert));
            return;
        }
        // A new section; an application that exists keeps its spelling.
        std::string name(anwendung);
        for (const auto& z : inhalt.zeilen) {
            if (z.art == Zeile::Art::Kopf && GleichOhneFall(z.anwendung, anwendung)) {
                name = z.anwendung;
                break;
            }
        }
        if (!inhalt.zeilen.empty() && inhalt.zeilen.back().art != Zeile::Art::Leer) {
            inhalt.zeilen.push_back(Zeile{});
        }
        inhalt.zeilen.push_back(KopfZeile(name, abschnitt));
        inhalt.zeilen.push_back(WertZeileAus(schluessel, wert));
    });
}

void Einstellungen::LoescheSchluessel(std::string_view anwendung, std::string_view abschnitt,
                                      std::string_view schluessel) {
    PruefeAnwendung(anwendung);
    PruefeAbschnitt(abschnitt);
    PruefeSchluessel(schluessel);
    Aendere([&](Inhalt& inhalt) {
        bool gefunden = false;
        while (auto i = FindeWert(inhalt, anwendung, abschnitt, schluessel)) {
            inhalt.zeilen.erase(inhalt.zeilen.begin() + static_cast<std::ptrdiff_t>(*i));
            gefunden = true;
        }
        if (!gefunden) NichtVorhanden("Der Eintrag \"" + std::string(schluessel) + "\"");
    });
}

void Einstellungen::LoescheAbschnitt(std::string_view anwendung, std::string_view abschnitt) {
    PruefeAnwendung(anwendung);
    PruefeAbschnitt(abschnitt);
    Aendere([&](Inhalt& inhalt) {
        std::string name(anwendung);
        for (const auto& z : inhalt.zeilen) {
            if (AbschnittOderDarunter(z, anwendung, abschnitt)) name = z.anwendung;
        }
        const auto stelle = EntferneBloecke(inhalt, [&](const Zeile& kopf) {
            return AbschnittOderDarunter(kopf, anwendung, abschnitt);
        });
        if (!stelle) NichtVorhanden("Der Abschnitt \"" + std::string(abschnitt) + "\"");
        // The application stays, as a registry key stays when its last subkey goes.
        for (const auto& z : inhalt.zeilen) {
            if (z.art == Zeile::Art::Kopf && GleichOhneFall(z.anwendung, anwendung)) return;
        }
        inhalt.zeilen.insert(inhalt.zeilen.begin() + static_cast<std::ptrdiff_t>(*stelle),
                             KopfZeile(name, ""));
    });
}

void Einstellungen::LoescheAnwendung(std::string_view anwendung) {
    PruefeAnwendung(anwendung);
    Aendere([&](Inhalt& inhalt) {
        const auto stelle = EntferneBloecke(inhalt, [&](const Zeile& kopf) {
            return GleichOhneFall(kopf.anwendung, anwendung);
        });
        if (!stelle) NichtVorhanden("Die Anwendung \"" + std::string(anwendung) + "\"");
    });
}

void Einstellungen::LoescheBaum(std::string_view anwendung, std::string_view abschnitt) {
    PruefeAnwendung(anwendung);
    PruefeAbschnitt(abschnitt);
    Aendere([&](Inhalt& inhalt) {
        const auto stelle = EntferneBloecke(inhalt, [&](const Zeile& kopf) {
            return AbschnittOderDarunter(kopf, anwendung, abschnitt);
        });
        // The blank line that a new section put before itself goes with it.
        auto& z = inhalt.zeilen;
        if (stelle && *stelle > 0 && z[*stelle - 1].art == Zeile::Art::Leer &&
            (*stelle == z.size() || z[*stelle].art == Zeile::Art::Kopf))
            z.erase(z.begin() + static_cast<std::ptrdiff_t>(*stelle - 1));
    });
}

void Einstellungen::Aendere(const std::function<void(Inhalt&)>& aenderung) {
    Sperre sperre(sperrdatei_, LOCK_EX);
    Inhalt inhalt = LiesUnterSperre();  // throws for a damaged file, which then stays
    aenderung(inhalt);
    SchreibeAtomar(Zusammensetzen(inhalt));
}

void Einstellungen::SchreibeAtomar(const std::string& text) const {
    const std::size_t schraeg = datei_.rfind('/');
    const std::string ordner = schraeg == 0 ? "/" : datei_.substr(0, schraeg);
    std::string vorlage = datei_ + ".XXXXXX";
    const int fd = mkostemp(vorlage.data(), O_CLOEXEC);
    if (fd < 0) SystemFehler("Die Einstellungen lassen sich nicht schreiben");
    struct stat alt {};
    const mode_t modus = stat(datei_.c_str(), &alt) == 0 ? (alt.st_mode & 07777) : 0600;
    try {
        SchreibeAlles(fd, text);
        if (fchmod(fd, modus) != 0 || fsync(fd) != 0) throw errno;
        if (close(fd) != 0) {
            const int fehler = errno;
            unlink(vorlage.c_str());
            SystemFehler("Die Einstellungen lassen sich nicht schreiben", fehler);
        }
    } catch (int fehler) {
        close(fd);
        unlink(vorlage.c_str());
        SystemFehler("Die Einstellungen lassen sich nicht schreiben", fehler);
    }
    if (rename(vorlage.c_str(), datei_.c_str()) != 0) {
        const int fehler = errno;
        unlink(vorlage.c_str());
        SystemFehler("Die Einstellungen lassen sich nicht schreiben", fehler);
    }
    // Make the rename itself durable.
    if (const int dir = open(ordner.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC); dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

}  // namespace kaldorin::posix
