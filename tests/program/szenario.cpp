#include "tests/program/szenario.h"

#include <nlohmann/json.hpp>

#include "app/command_line.h"
#include "install/installation.h"
#include "startup/hauptprogramm.h"
#include "runtime/host/posix/pfade.h"
#include "runtime/ui/script.h"
#include "tests/pack/hilfen.h"

namespace kaldorin::test {

namespace {

// The POSIX host, refusing DeleteApplication when told to.
class StoerbarerHost : public PosixHost {
public:
    StoerbarerHost(const SystemFacts& fakten, bool anwendung_bleibt)
        : PosixHost(fakten), anwendung_bleibt_(anwendung_bleibt) {}

    void DeleteApplication(std::string_view a) override {
        if (anwendung_bleibt_) throw Laufzeitfehler("DeleteApplication scheitert im Test.");
        PosixHost::DeleteApplication(a);
    }

private:
    bool anwendung_bleibt_;
};

}  // namespace

const std::string kStart = "answer 1\nanswer 1\n";
const std::string kAkzeptieren =
    "click cbo_Weiter\nclick cbo_Weiter\nclick cbo_Weiter\nclick cbo_Weiter\nclick cbo_Weiter\n"
    "click cbo_Akzeptieren\n";
const std::string kBisSeite1 = kStart + kAkzeptieren;
const std::string kInstallieren =
    "click CMD_Weiter\nclick CMD_Weiter\nclick CMD_Weiter\nanswer 1\n";

Szenario::Szenario() : wurzel(temp_.pfad), prefix(wurzel + "/prefix"), medium(wurzel + "/medium") {
    fs::create_directories(prefix);
    fs::create_directories(medium);
    system = {{"screen", "1024x768"}, {"colours", "16777216"}, {"cpu", "0x633"},
              {"family", "nt"}};
}

void Szenario::Packen(const std::string& name, const std::string& inhalt) {
    test::Schreiben(medium + "/" + name, Medium(test::Packen(Bytes(inhalt.begin(), inhalt.end()))));
}

std::string Szenario::Inhalt(const std::string& ziel) { return "Inhalt von " + ziel + "\n"; }

void Szenario::Medium_Fuellen() {
    for (const auto& [quelle, ziel] : kInstallierterBaum) Packen(quelle, Inhalt(ziel));
}

std::string Szenario::Host_Pfad(const std::string& windowsPfad) const {
    // Each component without regard to case, as the host resolves it; nothing is made.
    return posix::Pfadabbildung(prefix).HostPfad(windowsPfad);
}

bool Szenario::Existiert(const std::string& windowsPfad) const {
    return fs::exists(Host_Pfad(windowsPfad));
}

std::string Szenario::Lesen(const std::string& windowsPfad) const { return Lies(Host_Pfad(windowsPfad)); }

void Szenario::Schreiben(const std::string& windowsPfad, const std::string& inhalt) const {
    Schreibe(Host_Pfad(windowsPfad), inhalt);
}

int Szenario::Ausfuehren(const std::string& script) {
    // The facts go through the command line's own reading, as --system gives them.
    CommandLine zeile;
    ApplySystemFact(zeile, "prefix=" + prefix);
    ApplySystemFact(zeile, "setupdir=" + medium);
    for (const auto& [schluessel, wert] : system) ApplySystemFact(zeile, schluessel + "=" + wert);

    std::ostringstream transkript;
    host_ = std::make_unique<StoerbarerHost>(zeile.system, anwendung_bleibt);
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
        const auto json = nlohmann::json::parse(zeile);
        const std::string op = json.value("op", "");
        if (op == "alert" || op == "message" || op == "folder")
            dialoge.push_back({op, json.value("text", ""), json.value("title", "")});
    }
    return dialoge;
}

std::vector<std::string> Szenario::Meldungen() const { return face_->Messages(); }

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
