// The setup program's entry: reads the command line, picks the face, builds the host
// and runs the program.
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>

#include "runtime/command_line.h"
#include "runtime/host/posix/posix_host.h"
#include "runtime/ui/headless/headless_face.h"
#include "startup/programm.h"
#include "startup/unbeaufsichtigt.h"

#if KALDORIN_HAVE_QT
#include "runtime/ui/qt/qt_face.h"
#endif

namespace kaldorin {
namespace {

constexpr int kBadUsage = 2;

// What the program does once a face and a host exist: one run of the setup.
void RunProgram(Laufzeit laufzeit) {
    Programm p(laufzeit);
    laufzeit.ui.BindHandlers(Ereignistabelle(p));
    Hauptprogramm(p);
}

bool DisplayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

FaceChoice ChooseFace(FaceChoice asked) {
    if (asked != FaceChoice::Automatic) return asked;
#if KALDORIN_HAVE_QT
    if (DisplayAvailable()) return FaceChoice::Qt;
#else
    (void)DisplayAvailable;
#endif
    return FaceChoice::Headless;
}

PosixHost::Fakten HostFacts(const SystemFacts& facts) {
    PosixHost::Fakten f;
    f.prefix = facts.prefix;
    f.setupdir = facts.setupdir;
    f.nt = facts.nt;
    f.cpu = facts.cpu;
    return f;
}

int RunHeadless(const FaceOptions& options, Host& host) {
    if (options.script.empty()) {
        std::cerr << "kaldorin-setup: the headless face needs --script FILE\n" << Usage();
        return kBadUsage;
    }
    Script script;
    try {
        script = Script::FromFile(options.script);
    } catch (const ScriptError& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n';
        return kBadUsage;
    }
    std::unique_ptr<std::ofstream> transcript;
    if (!options.transcript.empty()) {
        transcript = std::make_unique<std::ofstream>(options.transcript, std::ios::binary | std::ios::trunc);
        if (!*transcript) {
            std::cerr << "kaldorin-setup: cannot write the transcript " << options.transcript << '\n';
            return kBadUsage;
        }
    }
    HeadlessFace face(options, host, std::move(script), transcript.get());
    return face.Run([&] { RunProgram(Laufzeit{face, host}); });
}

// A folder given on the command line, as the program names it.
std::string AsWindowsPath(Host& host, const std::string& folder) {
    return !folder.empty() && folder[0] == '/' ? host.WindowsPath(folder) : folder;
}

// --unattended: the road of one installation or removal, played on the headless face
// with every dialog answered by its first button. Exit code 0 when it reached its goal
// without an error message, 1 when it showed one, 2 for unusable options.
int RunUnattended(const std::vector<std::string>& arguments) {
    CommandLine line;
    std::vector<std::string> rest;
    try {
        for (std::size_t i = 0; i < arguments.size(); ++i) {
            if (arguments[i] == "--system" && i + 1 < arguments.size())
                ApplySystemFact(line, arguments[++i]);
            else
                rest.push_back(arguments[i]);
        }
    } catch (const CommandLineError& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n';
        return kBadUsage;
    }
    std::string problem;
    auto auftrag = Unbeaufsichtigt_Lesen(rest, problem);
    if (!auftrag) {
        std::cerr << "kaldorin-setup: " << problem << '\n' << Unbeaufsichtigt_Hilfe();
        return kBadUsage;
    }
    try {
        PosixHost host(HostFacts(line.system));
        auftrag->quelle = AsWindowsPath(host, auftrag->quelle);
        auftrag->ziel = AsWindowsPath(host, auftrag->ziel);
        line.options.answerDialogs = true;
        std::unique_ptr<std::ofstream> transcript;
        if (!auftrag->transkript.empty())
            transcript = std::make_unique<std::ofstream>(auftrag->transkript, std::ios::binary | std::ios::trunc);
        HeadlessFace face(line.options, host, Script(ParseScript(Unbeaufsichtigt_Skript(*auftrag))),
                          transcript.get());
        const int code = face.Run([&] { RunProgram(Laufzeit{face, host}); });
        if (code == 1 || code == 2) return 1;
        if (auftrag->entfernen && face.Messages().empty())
            std::cout << "Es ist keine installierte Kopie von KALDORIN-Edit verzeichnet; "
                         "nichts wurde entfernt.\n";
        return Unbeaufsichtigt_Ergebnis(*auftrag, face.Messages());
    } catch (const std::exception& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n';
        return 1;
    }
}

int Main(const std::vector<std::string>& arguments) {
    if (!arguments.empty() && arguments[0] == "--unattended")
        return RunUnattended({arguments.begin() + 1, arguments.end()});
    CommandLine line;
    try {
        line = ParseCommandLine(arguments);
    } catch (const CommandLineError& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n' << Usage();
        return kBadUsage;
    }
    if (line.help) {
        std::cout << Usage();
        return 0;
    }
    FaceChoice face = ChooseFace(line.face);
#if !KALDORIN_HAVE_QT
    if (face == FaceChoice::Qt) {
        std::cerr << "kaldorin-setup: this build has no Qt face\n";
        return kBadUsage;
    }
#endif
    try {
        PosixHost host(HostFacts(line.system));
#if KALDORIN_HAVE_QT
        // The Qt face: it runs the program itself, on its own event loop.
        if (face == FaceChoice::Qt) return RunQtFace(line.options, host, RunProgram);
#endif
        return RunHeadless(line.options, host);
    } catch (const std::exception& e) {
        // The host could not start (prefix not usable, ...): nothing ran yet.
        std::cerr << "kaldorin-setup: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace
}  // namespace kaldorin

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return kaldorin::Main(arguments);
}
