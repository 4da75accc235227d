#include "app/command_line.h"

#include <algorithm>
#include <charconv>
#include <string_view>

namespace kaldorin {
namespace {

[[noreturn]] void Fail(const std::string& why) { throw CommandLineError(why); }

// Where an option applies: the wizard (scripted or with a person), unattended runs, or both.
enum Modus : unsigned { kAssistent = 1, kUnbeaufsichtigt = 2, kBeide = 3 };
// Which builds have it.
enum Ausgabe : unsigned { kPosix = 1, kWindows = 2, kJede = 3 };

struct Option {
    const char* name;
    const char* wert;   // the value as the usage text names it; nullptr for a switch
    const char* hilfe;
    unsigned modus;
    unsigned ausgabe;
    void (*lesen)(CommandLine& line, const std::string& wert);
};

// A whole decimal (or, with base 16, hex) number in [low, high]; nullopt otherwise.
std::optional<std::int64_t> Number(std::string_view text, std::int64_t low, std::int64_t high, int base = 10) {
    std::int64_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (value < low || value > high) return std::nullopt;
    return value;
}

void ApplyScreen(FaceOptions& options, std::string_view value) {
    const std::size_t x = value.find('x');
    auto width = x == std::string_view::npos ? std::nullopt : Number(value.substr(0, x), 1, 100000);
    auto height = x == std::string_view::npos ? std::nullopt : Number(value.substr(x + 1), 1, 100000);
    if (!width || !height) Fail("screen=BxH erwartet Breite und Höhe in Bildpunkten, z. B. screen=800x600.");
    options.screenWidth = static_cast<int>(*width);
    options.screenHeight = static_cast<int>(*height);
}

void Face(CommandLine& line, const std::string& wert, FaceChoice fenster, const std::string& name) {
    if (wert == "headless") line.face = FaceChoice::Headless;
    else if (wert == name) line.face = fenster;
    else Fail("Unbekannte Oberfläche \"" + wert + "\" (headless, " + name + ").");
}

// The options of both builds, in the order the usage text lists them.
const Option kOptionen[] = {
    {"--face", "headless|qt", "die Oberfläche: headless (ohne Bildschirm) oder qt (Fenster)", kAssistent, kPosix,
     [](CommandLine& l, const std::string& w) { Face(l, w, FaceChoice::Qt, "qt"); }},
    {"--face", "headless|win32", "die Oberfläche: headless (ohne Bildschirm) oder win32 (Fenster, Vorgabe)",
     kAssistent, kWindows, [](CommandLine& l, const std::string& w) { Face(l, w, FaceChoice::Win32, "win32"); }},
    {"--headless", nullptr, "kurz für --face headless; braucht --script", kAssistent, kJede,
     [](CommandLine& l, const std::string&) { l.face = FaceChoice::Headless; }},
    {"--script", "DATEI", "die Handlungen des Nutzers, eine je Zeile", kAssistent, kJede,
     [](CommandLine& l, const std::string& w) { l.options.script = w; }},
    {"--hold", "SEKUNDEN", "nach dem Skript so lange auf einen Menschen warten (0 bis 3600)", kAssistent, kWindows,
     [](CommandLine& l, const std::string& w) {
         auto s = Number(w, 0, 3600);
         if (!s) Fail("--hold erwartet 0 bis 3600 Sekunden.");
         l.hold = static_cast<int>(*s);
     }},
    {"--unattended", nullptr, "ohne Nutzer: jede Warnung mit ihrem ersten Knopf beantwortet", kUnbeaufsichtigt,
     kJede, [](CommandLine& l, const std::string&) { l.unattended = true; }},
    {"--accept-licence", nullptr, "den Lizenzvertrag annehmen (zum Installieren nötig)", kUnbeaufsichtigt, kJede,
     [](CommandLine& l, const std::string&) { l.auftrag.akzeptiert = true; }},
    {"--source", "ORDNER", "der Datenträger (Vorgabe: der Ordner des Setup-Programms)", kUnbeaufsichtigt, kJede,
     [](CommandLine& l, const std::string& w) { l.auftrag.quelle = w; }},
    {"--target", "ORDNER", "der Installationsordner (Vorgabe: wie im Assistenten)", kUnbeaufsichtigt, kJede,
     [](CommandLine& l, const std::string& w) { l.auftrag.ziel = w; }},
    {"--no-desktop", nullptr, "keine Verknüpfung auf dem Desktop", kUnbeaufsichtigt, kJede,
     [](CommandLine& l, const std::string&) { l.auftrag.desktop = false; }},
    {"--no-startmenu", nullptr, "keine Verknüpfung im Startmenü", kUnbeaufsichtigt, kJede,
     [](CommandLine& l, const std::string&) { l.auftrag.startmenue = false; }},
    {"--no-converter", nullptr, "den DOS-Konverter nicht installieren", kUnbeaufsichtigt, kJede,
     [](CommandLine& l, const std::string&) { l.auftrag.konverter = false; }},
    {"--remove", nullptr, "die verzeichnete Installation entfernen", kUnbeaufsichtigt, kJede,
     [](CommandLine& l, const std::string&) { l.auftrag.entfernen = true; }},
    {"--remove-data", "all|fahrplan,stellwerk,lokdatenbank,bilder,sound",
     "mit --remove: auch diese Datenordner entfernen", kUnbeaufsichtigt, kJede,
     [](CommandLine& l, const std::string& w) { l.auftrag.datenliste = w; }},
    {"--transcript", "DATEI", "was der Nutzer sähe, als JSON Lines; bei --unattended der Bericht\ndes Laufs",
     kBeide, kJede, [](CommandLine& l, const std::string& w) { l.options.transcript = w; }},
    {"--system", "SCHLÜSSEL=WERT ...",
     "feste Systemangaben: screen=BxH twips=N colours=N cpu=0xSIGNATUR family=nt|9x\n"
     "prefix=ORDNER setupdir=PFAD",
     kBeide, kJede, nullptr},
    {"--help", nullptr, "diese Hilfe", kBeide, kJede, [](CommandLine& l, const std::string&) { l.help = true; }},
};

unsigned AusgabeVon(Plattform plattform) { return plattform == Plattform::Posix ? kPosix : kWindows; }

const Option* Finden(std::string_view name, Plattform plattform, bool& anderswo) {
    anderswo = false;
    for (const Option& o : kOptionen) {
        if (name != o.name) continue;
        if (o.ausgabe & AusgabeVon(plattform)) return &o;
        anderswo = true;
    }
    return nullptr;
}

// "--system KEY=VALUE ..." at arguments[i]: every following KEY=VALUE up to the next
// option belongs to it. Leaves `i` at the last one taken.
void ReadSystemFacts(const std::vector<std::string>& arguments, std::size_t& i, CommandLine& line) {
    if (i + 1 >= arguments.size() || arguments[i + 1].starts_with("--")) Fail("--system braucht SCHLÜSSEL=WERT.");
    while (i + 1 < arguments.size() && !arguments[i + 1].starts_with("--")) ApplySystemFact(line, arguments[++i]);
}

}  // namespace

void ApplySystemFact(CommandLine& line, const std::string& keyValue) {
    const std::size_t equals = keyValue.find('=');
    if (equals == std::string::npos) Fail("--system nimmt SCHLÜSSEL=WERT, nicht \"" + keyValue + "\".");
    const std::string key = keyValue.substr(0, equals);
    const std::string_view value = std::string_view(keyValue).substr(equals + 1);
    if (key == "screen") {
        ApplyScreen(line.options, value);
    } else if (key == "twips") {
        auto twips = Number(value, 1, 1000);
        if (!twips) Fail("twips=N erwartet eine ganze Zahl von 1 bis 1000.");
        line.options.twips = static_cast<int>(*twips);
    } else if (key == "colours") {
        auto colours = Number(value, 2, std::int64_t{1} << 32);
        if (!colours) Fail("colours=N erwartet eine ganze Zahl ab 2.");
        line.options.colours = *colours;
    } else if (key == "cpu") {
        auto cpu = value.starts_with("0x") || value.starts_with("0X") ? Number(value.substr(2), 0, 0xFFFFFFFF, 16)
                                                                     : std::nullopt;
        if (!cpu) Fail("cpu=0xSIGNATUR erwartet eine Hexadezimalzahl, z. B. cpu=0x0480.");
        line.system.cpu = static_cast<std::uint32_t>(*cpu);
    } else if (key == "family") {
        if (value != "nt" && value != "9x") Fail("family= erwartet nt oder 9x.");
        line.system.nt = value == "nt";
    } else if (key == "prefix" || key == "setupdir") {
        if (value.empty()) Fail(key + "= braucht einen Ordner.");
        (key == "prefix" ? line.system.prefix : line.system.setupdir) = value;
    } else {
        Fail("Unbekannter Systemschlüssel \"" + key + "\" (screen, twips, colours, cpu, family, prefix, setupdir).");
    }
}

CommandLine ParseCommandLine(const std::vector<std::string>& arguments, Plattform plattform) {
    CommandLine line;
    line.unattended = std::find(arguments.begin(), arguments.end(), "--unattended") != arguments.end();
    const unsigned modus = line.unattended ? kUnbeaufsichtigt : kAssistent;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        bool anderswo = false;
        const Option* o = Finden(a, plattform, anderswo);
        if (o == nullptr) {
            Fail(anderswo ? a + " gibt es nur in der " + (plattform == Plattform::Posix ? "Windows" : "Linux") +
                                "-Ausgabe."
                          : "Unbekannte Angabe: " + a);
        }
        if (!(o->modus & modus)) Fail(a + (line.unattended ? " gilt nicht mit --unattended." : " gilt nur mit --unattended."));
        if (o->lesen == nullptr) {
            ReadSystemFacts(arguments, i, line);
        } else if (o->wert == nullptr) {
            o->lesen(line, "");
        } else {
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) Fail(a + " braucht einen Wert.");
            o->lesen(line, arguments[++i]);
        }
    }
    return line;
}

std::string Usage(Plattform plattform) {
    const unsigned ausgabe = AusgabeVon(plattform);
    const auto abschnitt = [ausgabe](unsigned modus) {
        std::string text;
        for (const Option& o : kOptionen) {
            if (o.modus != modus || !(o.ausgabe & ausgabe)) continue;
            const std::string links = std::string("  ") + o.name + (o.wert ? std::string(" ") + o.wert : "");
            const std::string einzug(24, ' ');
            text += links.size() < einzug.size() ? links + einzug.substr(links.size()) : links + "\n" + einzug;
            for (const char* c = o.hilfe; *c; ++c) text += *c == '\n' ? "\n" + einzug : std::string(1, *c);
            text += '\n';
        }
        return text;
    };
    std::string text =
        "Aufruf: kaldorin-setup [Angaben]\n"
        "Der Assistent (ohne Angaben mit Fenstern, wo ein Bildschirm da ist):\n" +
        abschnitt(kAssistent) + "Unbeaufsichtigt (Meldungen werden ausgegeben):\n" + abschnitt(kUnbeaufsichtigt) +
        "Für beide:\n" + abschnitt(kBeide) +
        "Exit-Codes: 0 fertig; 1 Programmfehler, bei --unattended: eine Fehlermeldung wurde gezeigt\n"
        "            oder der Lauf konnte nicht beginnen; 2 unbrauchbare Angaben oder Skript, bei\n"
        "            --unattended vor jedem Schreiben; 3 das Skript endete, während das Programm wartete.\n";
    if (plattform == Plattform::Windows) {
        text +=
            "Setup.exe ist ein Fensterprogramm: eine Konsole wartet nicht darauf, und seine Ausgabe\n"
            "erreicht nur eine Datei, in die sie umgeleitet ist. Auf den Exit-Code warten:\n"
            "  cmd:         start \"\" /wait Setup.exe --unattended --remove\n"
            "               echo %ERRORLEVEL%\n"
            "  PowerShell:  (Start-Process Setup.exe '--unattended','--remove' -Wait -PassThru).ExitCode\n"
            "--transcript DATEI ist der Bericht eines unbeaufsichtigten Laufs: jede Meldung, Warnung\n"
            "und Antwort, eine JSON-Zeile je.\n";
    }
    return text;
}

std::vector<std::string> OptionNames(Plattform plattform) {
    std::vector<std::string> namen;
    for (const Option& o : kOptionen)
        if ((o.ausgabe & AusgabeVon(plattform)) && std::find(namen.begin(), namen.end(), o.name) == namen.end())
            namen.push_back(o.name);
    return namen;
}

}  // namespace kaldorin
