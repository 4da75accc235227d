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

int Main(const std::vector<std::string>& arguments) {
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
