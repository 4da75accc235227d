#include "tests/program/szenario.h"

#include <zstd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "app/command_line.h"
#include "install/installation.h"
#include "startup/hauptprogramm.h"
#include "runtime/ui/script.h"

namespace fs = std::filesystem;

namespace kaldorin::test {

namespace {

std::string Wiederholt(const std::string& zeile, int mal) {
    std::string text;
    for (int i = 0; i < mal; ++i) text += zeile;
    return text;
}

// The value of "key":"..." in one transcript line, unescaped; "" when absent.
std::string Feld(const std::string& zeile, const std::string& schluessel) {
    const std::string anfang = "\"" + schluessel + "\":\"";
    auto pos = zeile.find(anfang);
    if (pos == std::string::npos) return "";
    std::string wert;
    for (pos += anfang.size(); pos < zeile.size() && zeile[pos] != '"'; ++pos) {
        if (zeile[pos] != '\\') {
            wert += zeile[pos];
            continue;
        }
        const char c = zeile[++pos];
        switch (c) {
            case 'n': wert += '\n'; break;
            case 'r': wert += '\r'; break;
            case 't': wert += '\t'; break;
            case 'u': wert += static_cast<char>(std::stoi(zeile.substr(pos + 1, 4), nullptr, 16)); pos += 4; break;
            default: wert += c; break;
        }
    }
    return wert;
}

}  // namespace

const std::string kStart = "answer 1\nanswer 1\n";
const std::string kAkzeptieren = Wiederholt("click cbo_Weiter\n", 5) + "click cbo_Akzeptieren\n";
const std::string kBisSeite1 = kStart + kAkzeptieren;
const std::string kInstallieren =
    "click CMD_Weiter\nclick CMD_Weiter\nclick CMD_Weiter\nanswer 1\n";

Szenario::Szenario() {
    std::string muster = (fs::temp_directory_path() / "kaldorin-test-XXXXXX").string();
    if (!mkdtemp(muster.data())) throw std::runtime_error("mkdtemp");
    wurzel = muster;
    prefix = wurzel + "/prefix";
    medium = wurzel + "/medium";
    fs::create_directories(prefix);
    fs::create_directories(medium);
    system = {{"screen", "1024x768"}, {"colours", "16777216"}, {"cpu", "0x633"},
              {"family", "nt"}};
}

Szenario::~Szenario() {
    std::error_code fehler;
    // Tests make files read-only on purpose; give the owner back the right to clean up.
    for (auto it = fs::recursive_directory_iterator(wurzel, fehler);
         it != fs::recursive_directory_iterator(); it.increment(fehler))
        fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, fehler);
    fs::remove_all(wurzel, fehler);
}

void Szenario::Packen(const std::string& name, const std::string& inhalt) {
    ZSTD_CCtx* cctx = ZSTD_createCCtx();
    ZSTD_CCtx_setParameter(cctx, ZSTD_c_checksumFlag, 1);
    ZSTD_CCtx_setParameter(cctx, ZSTD_c_compressionLevel, 3);
    std::string strom(ZSTD_compressBound(inhalt.size()), '\0');
    const size_t laenge =
        ZSTD_compress2(cctx, strom.data(), strom.size(), inhalt.data(), inhalt.size());
    ZSTD_freeCCtx(cctx);
    if (ZSTD_isError(laenge)) throw std::runtime_error(ZSTD_getErrorName(laenge));
    strom.resize(laenge);
    // The medium's layout: a filler byte after the fifth byte and one at the end.
    const std::string datei = strom.substr(0, 5) + '\x5a' + strom.substr(5) + '\x00';
    std::ofstream(medium + "/" + name, std::ios::binary) << datei;
}

std::string Szenario::Inhalt(const std::string& ziel) { return "Inhalt von " + ziel + "\n"; }

void Szenario::Medium_Fuellen() {
    for (const auto& [quelle, ziel] : kInstallierterBaum) Packen(quelle, Inhalt(ziel));
}

std::string Szenario::Host_Pfad(const std::string& windowsPfad) const {
    if (windowsPfad.size() < 2 || (windowsPfad[0] != 'C' && windowsPfad[0] != 'c'))
        throw std::runtime_error("only drive C: " + windowsPfad);
    std::string pfad = prefix + "/drive_c";
    fs::path aktuell = pfad;
    // Resolve each component without regard to case, as the host does.
    std::string rest = windowsPfad.substr(2);
    size_t pos = 0;
    while (pos < rest.size()) {
        if (rest[pos] == '\\') { ++pos; continue; }
        size_t ende = rest.find('\\', pos);
        if (ende == std::string::npos) ende = rest.size();
        std::string teil = rest.substr(pos, ende - pos);
        pos = ende;
        fs::path gefunden = aktuell / teil;
        std::error_code fehler;
        if (!fs::exists(gefunden, fehler) && fs::is_directory(aktuell, fehler)) {
            for (const auto& eintrag : fs::directory_iterator(aktuell, fehler)) {
                std::string name = eintrag.path().filename().string(), a = name, b = teil;
                for (auto& c : a) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                for (auto& c : b) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                if (a == b) gefunden = eintrag.path();
            }
        }
        aktuell = gefunden;
    }
    return aktuell.string();
}

bool Szenario::Existiert(const std::string& windowsPfad) const {
    return fs::exists(Host_Pfad(windowsPfad));
}

std::string Szenario::Lesen(const std::string& windowsPfad) const {
    std::ifstream datei(Host_Pfad(windowsPfad), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(datei), {});
}

void Szenario::Schreiben(const std::string& windowsPfad, const std::string& inhalt) const {
    const std::string pfad = Host_Pfad(windowsPfad);
    fs::create_directories(fs::path(pfad).parent_path());
    std::ofstream(pfad, std::ios::binary) << inhalt;
}

int Szenario::Ausfuehren(const std::string& script) {
    // The facts go through the command line's own reading, as --system gives them.
    CommandLine zeile;
    ApplySystemFact(zeile, "prefix=" + prefix);
    ApplySystemFact(zeile, "setupdir=" + medium);
    for (const auto& [schluessel, wert] : system) ApplySystemFact(zeile, schluessel + "=" + wert);

    std::ostringstream transkript;
    host_ = std::make_unique<PosixHost>(zeile.system);
    face_ = std::make_unique<HeadlessFace>(zeile.options, *host_, Script(ParseScript(script)),
                                           &transkript);
    programm_ = std::make_unique<Programm>(Laufzeit{*face_, *host_});
    face_->BindHandlers(Ereignistabelle(*programm_));
    const int code = face_->Run([this] { Hauptprogramm(*programm_); });
    transkript_ = transkript.str();
    return code;
}

std::vector<Dialog> Szenario::Dialoge() const {
    std::vector<Dialog> dialoge;
    std::istringstream zeilen(transkript_);
    for (std::string zeile; std::getline(zeilen, zeile);) {
        const std::string op = Feld(zeile, "op");
        if (op == "alert" || op == "message" || op == "folder")
            dialoge.push_back({op, Feld(zeile, "text"), Feld(zeile, "title")});
    }
    return dialoge;
}

std::vector<std::string> Szenario::Meldungen() const {
    std::vector<std::string> texte;
    for (const Dialog& d : Dialoge())
        if (d.op == "message") texte.push_back(d.text);
    return texte;
}

std::vector<std::string> Szenario::Warnungen() const {
    std::vector<std::string> texte;
    for (const Dialog& d : Dialoge())
        if (d.op == "alert") texte.push_back(d.text);
    return texte;
}

ControlState Szenario::Element(const std::string& name) {
    return face_->Control(face_->FindControl(name));
}

}  // namespace kaldorin::test
