// kaldorin-pack: the vendor's packer for KALDORIN-Edit distribution media.
#include <charconv>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "runtime/runtime.h"
#include "tools/buendel.h"
#include "tools/medium.h"
#include "tools/packen.h"

namespace {

using namespace kaldorin::pack;

constexpr int kOk = 0, kFehler = 1, kAufruf = 2;

constexpr const char* kHilfe =
    "Aufruf: kaldorin-pack [Optionen] BEFEHL ...\n"
    "\n"
    "Befehle:\n"
    "  pack QUELLE ZIEL          eine Datei packen (Medienformat)\n"
    "  unpack QUELLE ZIEL        eine gepackte Datei entpacken\n"
    "  medium ANWENDUNG MEDIUM   ein Medium aus einem installierten Anwendungsordner bauen\n"
    "  verify MEDIUM             jede gepackte Datei eines Mediums prüfen\n"
    "  bundle MEDIUM DATEI       das Setup-Programm mit den gepackten Dateien des Mediums\n"
    "                            als eine Datei (Vorgabe für --setup: Setup.exe, sonst\n"
    "                            kaldorin-setup auf dem Medium)\n"
    "  verify DATEI              eine solche Datei prüfen: Prüfsumme und jede gepackte Datei\n"
    "  demo MEDIUM               eine Demo-Anwendung erzeugen und als Medium packen\n"
    "\n"
    "Optionen:\n"
    "  --level N     Packstufe 1..22 (Vorgabe 19)\n"
    "  --window N    Fenstergröße 2^N Bytes, 10..27 (Vorgabe: wie die Stufe es wählt)\n"
    "  --setup DATEI das Setup-Programm für Setup.ex_ (Vorgabe: kaldorin-setup neben\n"
    "                kaldorin-pack)\n"
    "  --scale F     Größenfaktor der Demo-Anwendung (Vorgabe 1, etwa 6 MB)\n"
    "  --app ORDNER  die Demo-Anwendung zusätzlich ungepackt dort ablegen\n"
    "  --quiet       keine Fortschrittsanzeige und kein Bericht\n"
    "  --help        diese Hilfe\n"
    "\n"
    "Rückgabewert: 0 Erfolg, 1 Fehler oder fehlerhafte Datei, 2 falscher Aufruf.\n";

struct Aufruf {
    std::vector<std::string> woerter;
    MediumOptionen medium;
    double massstab = 1.0;
    std::optional<fs::path> anwendung;
    bool still = false;
    bool hilfe = false;
};

struct AufrufFehler {
    std::string text;
};

int Zahl(const std::string& text, int min, int max, const char* option) {
    int wert = 0;
    const auto [ende, fehler] = std::from_chars(text.data(), text.data() + text.size(), wert);
    if (fehler != std::errc() || ende != text.data() + text.size() || wert < min || wert > max) {
        throw AufrufFehler{std::string(option) + " erwartet eine Zahl von " + std::to_string(min) +
                           " bis " + std::to_string(max) + ", nicht \"" + text + "\"."};
    }
    return wert;
}

Aufruf Lesen(int argc, char** argv) {
    Aufruf a;
    for (int i = 1; i < argc; ++i) {
        const std::string w = argv[i];
        const auto wert = [&]() -> std::string {
            if (i + 1 >= argc) throw AufrufFehler{w + " braucht einen Wert."};
            return argv[++i];
        };
        if (w == "--help" || w == "-h") {
            a.hilfe = true;
        } else if (w == "--level") {
            a.medium.packen.stufe = Zahl(wert(), 1, 22, "--level");
        } else if (w == "--window") {
            a.medium.packen.fensterLog = Zahl(wert(), 10, 27, "--window");
        } else if (w == "--setup") {
            a.medium.setup = fs::path(wert());
        } else if (w == "--scale") {
            const std::string s = wert();
            try {
                std::size_t ende = 0;
                a.massstab = std::stod(s, &ende);
                if (ende != s.size() || !(a.massstab > 0 && a.massstab <= 1000)) throw 0;
            } catch (...) {
                throw AufrufFehler{"--scale erwartet eine Zahl über 0 bis 1000, nicht \"" + s + "\"."};
            }
        } else if (w == "--app") {
            a.anwendung = fs::path(wert());
        } else if (w == "--quiet" || w == "-q") {
            a.still = true;
        } else if (w.size() > 1 && w[0] == '-') {
            throw AufrufFehler{"Unbekannte Option \"" + w + "\"."};
        } else {
            a.woerter.push_back(w);
        }
    }
    return a;
}

fs::path EigenerOrdner(const char* argv0) {
    std::error_code ec;
    const fs::path selbst = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) return selbst.parent_path();
    return fs::absolute(argv0, ec).parent_path();
}

void Anzahl(const Aufruf& a, std::size_t n) {
    if (a.woerter.size() != n + 1) {
        throw AufrufFehler{"\"" + a.woerter[0] + "\" erwartet " + std::to_string(n) +
                           (n == 1 ? " Pfad." : " Pfade.")};
    }
}

int Ausfuehren(const Aufruf& a) {
    std::ostream keiner(nullptr);
    std::ostream& bericht = a.still ? keiner : std::cout;
    Fortschritt fortschritt(!a.still);
    const std::string& befehl = a.woerter[0];
    if (befehl == "pack") {
        Anzahl(a, 2);
        const auto n = PackeDatei(a.woerter[1], a.woerter[2], a.medium.packen, fortschritt);
        bericht << a.woerter[2] << ": " << n << " Bytes\n";
        return kOk;
    }
    if (befehl == "unpack") {
        Anzahl(a, 2);
        EntpackeDatei(a.woerter[1], a.woerter[2], fortschritt);
        return kOk;
    }
    if (befehl == "medium") {
        Anzahl(a, 2);
        return BaueMedium(a.woerter[1], a.woerter[2], a.medium, fortschritt, bericht);
    }
    if (befehl == "verify") {
        Anzahl(a, 1);
        // The verdict on each file is the point of verify: printed even with --quiet.
        if (fs::is_regular_file(a.woerter[1])) return PruefeBuendel(a.woerter[1], fortschritt, std::cout);
        return PruefeMedium(a.woerter[1], fortschritt, std::cout);
    }
    if (befehl == "bundle") {
        Anzahl(a, 2);
        return BaueBuendel(a.woerter[1], a.woerter[2], a.medium.setup, fortschritt, bericht);
    }
    if (befehl == "demo") {
        Anzahl(a, 1);
        return BaueDemo(a.woerter[1], a.massstab, a.anwendung, a.medium, fortschritt, bericht);
    }
    throw AufrufFehler{"Unbekannter Befehl \"" + befehl + "\"."};
}

}  // namespace

int main(int argc, char** argv) {
    try {
        Aufruf a = Lesen(argc, argv);
        if (a.hilfe) {
            std::cout << kHilfe;
            return kOk;
        }
        if (a.woerter.empty()) throw AufrufFehler{"Kein Befehl angegeben."};
        a.medium.werkzeugOrdner = EigenerOrdner(argv[0]);
        return Ausfuehren(a);
    } catch (const AufrufFehler& f) {
        std::cerr << "kaldorin-pack: " << f.text << "\n(kaldorin-pack --help zeigt die Befehle.)\n";
        return kAufruf;
    } catch (const kaldorin::Laufzeitfehler& f) {
        std::cerr << "kaldorin-pack: " << f.what() << "\n";
        return kFehler;
    } catch (const std::exception& f) {
        std::cerr << "kaldorin-pack: " << f.what() << "\n";
        return kFehler;
    }
}
