// The settings file, as found on disk. Whatever it holds:
// - taking it apart either works or throws Laufzeitfehler;
// - what was taken apart is put together again line for line;
// - a write or delete that fails leaves the file byte for byte as it was, with no
//   temporary file beside it; one that works leaves a file that reads again.

#include <functional>
#include <optional>

#include "runtime/host/posix/einstellungen.h"
#include "runtime/runtime.h"
#include "tests/fuzz/fuzz.h"

using kaldorin::Laufzeitfehler;
using kaldorin::posix::Einstellungen;
using namespace kaldorin::fuzz;

namespace {

// Quotes, a backslash, a tab, an umlaut and a trailing blank: a value that must be quoted.
const std::string kWert = "C:\\Programme\\\"KALDORIN\"\t\xC3\xBC ";

// Each change, and what "Dir" reads once it worked.
const std::pair<std::function<void(Einstellungen&)>, std::optional<std::string>> kAenderungen[] = {
    {[](Einstellungen& e) { e.Schreiben("vork", "Kaldorin", "DIR", kWert); }, kWert},
    {[](Einstellungen& e) { e.LoescheSchluessel("VORK", "KALDORIN", "Dir"); }, std::nullopt},
    {[](Einstellungen& e) { e.LoescheAbschnitt("VORK", "KALDORIN"); }, std::nullopt},
    {[](Einstellungen& e) { e.LoescheAnwendung("Vork"); }, std::nullopt},
};

void ZerlegenUndZusammensetzen(const std::string& text) {
    try {
        const std::string zurueck = Einstellungen::Zusammensetzen(Einstellungen::Zerlege(text));
        const bool zeilenende = text.empty() || text.back() == '\n' || text == "\xEF\xBB\xBF";
        PRUEFE(zurueck == (zeilenende ? text : text + "\n"));
    } catch (const Laufzeitfehler&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string text = Text(daten, groesse);
    ZerlegenUndZusammensetzen(text);

    const std::string ordner = Arbeitsordner();
    const std::string datei = ordner + "/settings.ini";
    for (const auto& [tun, danach] : kAenderungen) {
        Schreibe(datei, text);
        Einstellungen einstellungen(datei);
        try {
            tun(einstellungen);
        } catch (const Laufzeitfehler&) {
            PRUEFE(Lies(datei) == text);
            PRUEFE(Namen(ordner) == (std::set<std::string>{"settings.ini", "settings.ini.lock"}));
            continue;
        }
        PRUEFE(einstellungen.Lesen("VORK", "KALDORIN", "Dir") == danach);
    }
    return 0;
}
