#include "tools/demo.h"

#include <array>
#include <cstring>
#include <stdexcept>
#include <string>

namespace kaldorin::pack {

namespace {

using Bytes = std::vector<std::uint8_t>;

// splitmix64: small, fast and the same everywhere.
class Zufall {
public:
    explicit Zufall(std::uint64_t saat) : x_(saat) {}
    std::uint64_t Naechste() {
        std::uint64_t z = (x_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::uint32_t Bis(std::uint32_t n) { return static_cast<std::uint32_t>(Naechste() % n); }
    // Small values far more often than large ones, as in real code and text.
    std::uint32_t Schief(std::uint32_t n) { return Bis(n) * Bis(n) / n; }

private:
    std::uint64_t x_;
};

std::uint64_t Hash(std::string_view s) {
    std::uint64_t h = 1469598103934665603ull;
    for (const char c : s) h = (h ^ static_cast<std::uint8_t>(c)) * 1099511628211ull;
    return h;
}

// Grown first, then copied: GCC 12 at -O3 warns falsely (-Wstringop-overflow) about
// inserting into an empty vector.
void Anhaengen(Bytes& b, std::string_view s) {
    const std::size_t alt = b.size();
    b.resize(alt + s.size());
    if (!s.empty()) std::memcpy(b.data() + alt, s.data(), s.size());
}
void Wort16(Bytes& b, std::uint32_t v) {
    b.push_back(static_cast<std::uint8_t>(v));
    b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Wort32(Bytes& b, std::uint32_t v) {
    Wort16(b, v & 0xFFFF);
    Wort16(b, v >> 16);
}

constexpr std::array<std::string_view, 96> kWoerter{
    "Stellwerk", "Fahrstraße", "Signal", "Weiche", "Gleis", "Block", "Zug", "Lokomotive",
    "Fahrplan", "Bahnhof", "Haltepunkt", "Abzweig", "Einfahrt", "Ausfahrt", "Rangierfahrt",
    "Gleisbild", "Eingabe", "Taste", "Menü", "Fenster", "Datei", "Sicherung", "Rückmelder",
    "Belegtmeldung", "Schutzweiche", "Flankenschutz", "Durchrutschweg", "Zugnummer",
    "Abfahrt", "Ankunft", "Verspätung", "Geschwindigkeit", "Fahrstufe", "Decoder",
    "Adresse", "Funktion", "Licht", "Pfiff", "Kupplung", "Wagen", "Zugverband", "die",
    "der", "das", "und", "oder", "wird", "werden", "kann", "muss", "mit", "im", "auf",
    "für", "nach", "von", "bei", "ein", "eine", "einen", "nicht", "auch", "dann", "wenn",
    "alle", "jede", "neue", "gestellt", "aufgelöst", "angezeigt", "gespeichert", "geladen",
    "festgelegt", "gewählt", "geprüft", "belegt", "frei", "rot", "grün", "gelb", "links",
    "rechts", "oben", "unten", "Klick", "Doppelklick", "Maus", "Eintrag", "Liste", "Zeile",
    "Spalte", "Tabelle", "Anzeige", "Hilfe", "Beispiel", "Hinweis"};

std::string Satz(Zufall& z) {
    std::string s;
    const std::uint32_t n = 6 + z.Bis(13);
    for (std::uint32_t i = 0; i < n; ++i) {
        if (i > 0) s += ' ';
        s += kWoerter[z.Schief(kWoerter.size())];
    }
    return s + ". ";
}

// Machine code of a 32-bit program: functions of instructions from a fixed table,
// operands from a few globals and small constants, string and relocation tables.
Bytes Programm(std::size_t groesse, Zufall& z) {
    Bytes b;
    b.reserve(groesse + 4096);
    Anhaengen(b, "MZ\x90");
    b.resize(0x80, 0);
    Anhaengen(b, std::string_view("PE\0\0\x4c\x01", 6));
    b.resize(0x400, 0);

    struct Befehl {
        std::uint8_t code[3];
        std::uint8_t laenge;  // opcode bytes
        std::uint8_t operand; // 0 none, 1 imm8, 4 imm32/disp32
    };
    std::array<Befehl, 192> tabelle{};
    Zufall t(0x4B414C44);  // the instruction set is the same for every file
    for (auto& bf : tabelle) {
        bf.laenge = static_cast<std::uint8_t>(1 + t.Bis(3));
        for (auto& c : bf.code) c = static_cast<std::uint8_t>(t.Bis(256));
        const std::uint32_t art = t.Bis(3);
        bf.operand = art == 0 ? 0 : art == 1 ? 1 : 4;
    }
    std::array<std::uint32_t, 512> globale{};
    for (auto& g : globale) g = 0x00400000u + (z.Bis(0x40000) & ~3u);

    while (b.size() < groesse) {
        if (z.Bis(40) == 0) {  // a block of strings: messages, names, resources
            for (std::uint32_t i = 0, n = 4 + z.Bis(24); i < n; ++i) {
                Anhaengen(b, Satz(z));
                b.push_back(0);
            }
            continue;
        }
        if (z.Bis(60) == 0) {  // relocations: ascending addresses
            std::uint32_t adresse = 0x1000u + z.Bis(0x100000);
            for (std::uint32_t i = 0, n = 32 + z.Bis(200); i < n; ++i) {
                adresse += 2 + z.Bis(40);
                Wort32(b, adresse);
            }
            continue;
        }
        Anhaengen(b, "\x55\x8B\xEC\x83\xEC");
        b.push_back(static_cast<std::uint8_t>(4 * (1 + z.Bis(16))));
        for (std::uint32_t i = 0, n = 10 + z.Bis(150); i < n; ++i) {
            const Befehl& bf = tabelle[z.Schief(tabelle.size())];
            b.insert(b.end(), bf.code, bf.code + bf.laenge);
            if (bf.operand == 1) b.push_back(static_cast<std::uint8_t>(z.Schief(64)));
            if (bf.operand == 4) {
                Wort32(b, z.Bis(3) == 0 ? z.Schief(4096) : globale[z.Schief(globale.size())]);
            }
        }
        Anhaengen(b, "\x8B\xE5\x5D\xC3");
        while (b.size() % 16 != 0) b.push_back(0xCC);
    }
    b.resize(groesse);
    return b;
}

// A help file: topics of German text with small binary records between them.
Bytes Hilfe(std::size_t groesse, Zufall& z) {
    Bytes b;
    Anhaengen(b, std::string_view("\x3F\x5F\x03\x00", 4));
    Wort32(b, static_cast<std::uint32_t>(groesse));
    for (std::uint32_t thema = 1; b.size() < groesse; ++thema) {
        Wort32(b, thema);
        Wort16(b, z.Bis(0x10000));
        Anhaengen(b, "Thema " + std::to_string(thema) + ": " + std::string(kWoerter[z.Bis(40)]) +
                         "\r\n");
        for (std::uint32_t i = 0, n = 2 + z.Bis(10); i < n; ++i) Anhaengen(b, Satz(z));
        Anhaengen(b, "\r\n\r\n");
    }
    b.resize(groesse);
    return b;
}

Bytes Inhaltsverzeichnis(std::size_t groesse, Zufall& z, std::string_view hilfe) {
    Bytes b;
    Anhaengen(b, ":Base " + std::string(hilfe) + "\r\n:Title KALDORIN-Edit\r\n");
    for (std::uint32_t k = 1; b.size() < groesse; ++k) {
        Anhaengen(b, "1 Kapitel " + std::to_string(k) + "\r\n");
        for (std::uint32_t i = 0, n = 2 + z.Bis(8); i < n; ++i) {
            Anhaengen(b, "2 " + std::string(kWoerter[z.Bis(40)]) + "=IDH_" +
                             std::to_string(k * 100 + i) + "\r\n");
        }
    }
    b.resize(groesse);
    return b;
}

// Sine of phase/4096 of a turn, times 32767, by Bhaskara's approximation in integers.
std::int32_t Sinus(std::uint32_t phase) {
    phase &= 4095;
    const bool negativ = phase >= 2048;
    const std::int64_t x = phase & 2047;  // half a turn in 2048 steps
    const std::int64_t p = x * (2048 - x);
    const std::int64_t wert = 4 * p * 32767 / (5 * 2048 * 2048 / 4 - p);
    return static_cast<std::int32_t>(negativ ? -wert : wert);
}

// A steam whistle: a wavering tone with overtones and breath noise, 22050 Hz mono.
Bytes Pfiff(std::size_t groesse, Zufall& z) {
    const std::uint32_t proben = static_cast<std::uint32_t>((groesse - 44) / 2);
    Bytes b;
    b.reserve(groesse);
    Anhaengen(b, "RIFF");
    Wort32(b, 36 + proben * 2);
    Anhaengen(b, "WAVEfmt ");
    Wort32(b, 16);
    Wort16(b, 1);
    Wort16(b, 1);
    Wort32(b, 22050);
    Wort32(b, 44100);
    Wort16(b, 2);
    Wort16(b, 16);
    Anhaengen(b, "data");
    Wort32(b, proben * 2);
    std::uint32_t phase = 0;
    for (std::uint32_t i = 0; i < proben; ++i) {
        const std::uint32_t schritt = 380 + static_cast<std::uint32_t>(Sinus(i / 8) / 1024);
        phase += schritt;
        const std::int32_t ton = Sinus(phase >> 4) / 3 + Sinus((phase >> 3) * 3 / 2) / 6 +
                                 Sinus((phase >> 2) * 5 / 4) / 10;
        const std::int32_t rauschen = static_cast<std::int32_t>(z.Bis(6000)) - 3000;
        Wort16(b, static_cast<std::uint32_t>(ton + rauschen) & 0xFFFF);
    }
    return b;
}

// A 24-bit picture of a locomotive: sky, ground, body, wheels, a little grain.
Bytes Lokbild(std::size_t groesse, Zufall& z) {
    const std::uint32_t breite = 320;
    const std::uint32_t zeile = breite * 3;
    const std::uint32_t hoehe = static_cast<std::uint32_t>((groesse - 54) / zeile);
    Bytes b;
    b.reserve(groesse);
    Anhaengen(b, "BM");
    Wort32(b, 54 + zeile * hoehe);
    Wort32(b, 0);
    Wort32(b, 54);
    Wort32(b, 40);
    Wort32(b, breite);
    Wort32(b, hoehe);
    Wort16(b, 1);
    Wort16(b, 24);
    Wort32(b, 0);
    Wort32(b, zeile * hoehe);
    Wort32(b, 2835);
    Wort32(b, 2835);
    Wort32(b, 0);
    Wort32(b, 0);
    for (std::uint32_t y = 0; y < hoehe; ++y) {
        const std::uint32_t yy = y % 240;  // a tall picture repeats the scene downwards
        for (std::uint32_t x = 0; x < breite; ++x) {
            std::uint32_t r = 90 + yy / 3, g = 140 + yy / 4, bl = 230;  // sky
            if (yy < 60) r = 70, g = 110 + (x % 7), bl = 40;            // grass
            const std::int32_t dx1 = static_cast<std::int32_t>(x) - 110, dx2 = static_cast<std::int32_t>(x) - 210;
            const std::int32_t dy = static_cast<std::int32_t>(yy) - 75;
            if (x > 60 && x < 260 && yy > 80 && yy < 150) r = 40, g = 40, bl = 45;      // body
            if (x > 200 && x < 250 && yy > 150 && yy < 190) r = 120, g = 20, bl = 20;   // cab
            if (dx1 * dx1 + dy * dy < 400 || dx2 * dx2 + dy * dy < 400) r = g = bl = 15;  // wheels
            const std::uint32_t korn = z.Bis(5);
            b.push_back(static_cast<std::uint8_t>(bl + korn));
            b.push_back(static_cast<std::uint8_t>(g + korn));
            b.push_back(static_cast<std::uint8_t>(r + korn));
        }
    }
    b.resize(groesse, 0);
    return b;
}

Bytes TextZeilen(std::size_t groesse, Zufall& z, std::string_view art) {
    Bytes b;
    if (art == "tab") Anhaengen(b, "Signal;Typ;Gleis;Stellung\r\n");
    if (art == "fpw") Anhaengen(b, "Zeit;Zug;Von;Nach;Gleis\r\n");
    if (art == "ini") Anhaengen(b, "[KALDORIN]\r\nVersion=2.32\r\n");
    for (std::uint32_t i = 0; b.size() < groesse; ++i) {
        std::string s;
        if (art == "tab") {
            s = "S";  // appended: GCC 12 at -O3 warns falsely about "S" + std::string
            s += std::to_string(i) + ";" + std::string(z.Bis(2) ? "Hp" : "Ks") + ";" +
                 std::to_string(1 + z.Bis(12)) + ";" + std::to_string(z.Bis(3));
        } else if (art == "pos") {
            s = std::to_string(z.Bis(200)) + " " + std::to_string(z.Bis(120)) + " " +
                std::to_string(z.Schief(40));
        } else if (art == "fpw") {
            const std::uint32_t minute = (i * 7 + z.Bis(5)) % 1440;
            s = std::to_string(minute / 60) + ":" + std::to_string(10 + minute % 50) + ";" +
                (z.Bis(2) ? "RE " : "RB ") + std::to_string(4700 + z.Bis(300)) + ";" +
                std::string(kWoerter[9 + z.Bis(3)]) + ";" + std::string(kWoerter[9 + z.Bis(3)]) +
                ";" + std::to_string(1 + z.Bis(6));
        } else {
            if (i % 20 == 0) s.append("[").append(kWoerter[z.Bis(40)]).append("]\r\n");
            s += std::string(kWoerter[z.Bis(40)]) + std::to_string(i) + "=" +
                 std::to_string(z.Schief(1000));
        }
        Anhaengen(b, s + "\r\n");
    }
    b.resize(groesse);
    return b;
}

// Fixed records with small numbers: track elements of an interlocking or timetable.
Bytes Datensaetze(std::size_t groesse, Zufall& z, std::string_view kennung) {
    Bytes b;
    Anhaengen(b, kennung);
    Wort32(b, static_cast<std::uint32_t>(groesse / 16));
    while (b.size() < groesse) {
        const std::uint32_t element = z.Bis(4) == 0 ? z.Schief(48) : 0;
        Wort16(b, element);
        Wort16(b, element == 0 ? 0 : z.Bis(8));
        Wort32(b, element == 0 ? 0 : z.Schief(2000));
        Wort32(b, 0);
        Wort32(b, z.Bis(16) == 0 ? z.Bis(100) : 0);
    }
    b.resize(groesse);
    return b;
}

bool EndetMit(std::string_view s, std::string_view ende) {
    return s.size() >= ende.size() && s.substr(s.size() - ende.size()) == ende;
}

struct Groesse {
    std::string_view ziel;
    std::size_t bytes;
};

// One row for each file of the medium (Medium(), from the program's file lists).
constexpr Groesse kGroessen[] = {
    {"KALDORIN_Edit.EXE", 1600000}, {"t4.ovl", 380000}, {"t7.ovl", 300000},
    {"t8.ovl", 260000}, {"t9.ovl", 220000}, {"KALDORIN.XLO", 48000}, {"KALDORIN.PA1", 3000},
    {"KALDORIN.OCX", 720000}, {"T14.ovl", 120000}, {"Setup.Exe", 310000},
    {"sound\\pfiff3.wav", 600000}, {"bilder\\lok.bmp", 230454},
    {"stellwerk\\test.bws", 24000}, {"stellwerk\\test.tab", 16000},
    {"stellwerk\\test.pos", 12000}, {"fahrplan\\test.fpw", 30000},
    {"fahrplan\\test.fps", 20000}, {"help\\Stellwerk.hlp", 260000},
    {"help\\Stellwrk.cnt", 4000}, {"help\\GleisbildEingabe.hlp", 180000},
    {"help\\GleisbildEingabe.cnt", 3000}, {"help\\Fahrplan.hlp", 220000},
    {"help\\Fahrplan.cnt", 3500}, {"help\\Fahrstra\xC3\x9F" "enEingabe.hlp", 150000},
    {"help\\Fahrstra\xC3\x9F" "enEingabe.cnt", 2500}, {"help\\Datensicherung.hlp", 90000},
    {"help\\Datensicherung.cnt", 1500}, {"DOS_Konverter.Exe", 95000},
};

std::size_t GrundGroesse(std::string_view ziel) {
    for (const Groesse& g : kGroessen) {
        if (g.ziel == ziel) return g.bytes;
    }
    // A file added to the lists needs its row above; a made-up size would hide that.
    throw std::logic_error("Die Demo kennt keine Größe für \"" + std::string(ziel) +
                           "\" (tools/demo.cpp, kGroessen).");
}

}  // namespace

std::vector<std::uint8_t> DemoInhalt(std::string_view ziel, double massstab) {
    Zufall z(Hash(ziel));
    const double roh = static_cast<double>(GrundGroesse(ziel)) * (massstab > 0 ? massstab : 1.0);
    const std::size_t groesse = std::max<std::size_t>(static_cast<std::size_t>(roh), 1024);
    const auto name = ziel.substr(ziel.find_last_of('\\') + 1);

    if (EndetMit(ziel, ".hlp")) return Hilfe(groesse, z);
    if (EndetMit(ziel, ".cnt")) return Inhaltsverzeichnis(groesse, z, name);
    if (EndetMit(ziel, ".wav")) return Pfiff(groesse, z);
    if (EndetMit(ziel, ".bmp")) return Lokbild(groesse, z);
    if (EndetMit(ziel, ".bws")) return Datensaetze(groesse, z, "BWS1");
    if (EndetMit(ziel, ".fps")) return Datensaetze(groesse, z, "FPS1");
    if (EndetMit(ziel, ".tab")) return TextZeilen(groesse, z, "tab");
    if (EndetMit(ziel, ".pos")) return TextZeilen(groesse, z, "pos");
    if (EndetMit(ziel, ".fpw")) return TextZeilen(groesse, z, "fpw");
    if (EndetMit(ziel, ".XLO") || EndetMit(ziel, ".PA1")) return TextZeilen(groesse, z, "ini");
    return Programm(groesse, z);
}

}  // namespace kaldorin::pack
