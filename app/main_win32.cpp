// The setup program's entry on Windows: reads the wide command line, picks the face
// (the Win32 windows unless the headless face is asked for), builds the host and
// runs the program.
//
// (the options: app/command_line.h)
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/command_line.h"
#include "app/entry.h"
#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/eigene_datei_w32.h"
#include "runtime/ui/win32/bibliotheken_w32.h"
#include "runtime/host/win32/win32_host.h"
#include "runtime/host/win32/windows_w32.h"
#include "runtime/ui/win32/win32_face.h"

#include <shellapi.h>

namespace kaldorin {
namespace {

// --unattended: the road played on the real windows, every alert and message
// answered by its first button.
int RunUnattendedWin32(const CommandLine& line) {
    return RunUnattended(
        line, [](const SystemFacts& facts) { return std::make_unique<Win32Host>(facts); },
        [](const FaceOptions& options, Host& host, Script script, std::ostream* transcript,
           std::vector<std::string>& meldungen) {
            w32::Win32Face face(options, host, std::move(script), transcript);
            const int code = face.Run([&] { RunProgram(Laufzeit{face, host}); });
            meldungen = face.Meldungen();
            return code;
        });
}

int Main(const std::vector<std::string>& arguments) {
    CommandLine line;
    try {
        line = ParseCommandLine(arguments, Plattform::Windows);
    } catch (const CommandLineError& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n' << kSieheHilfe;
        return kBadUsage;
    }
    if (line.help) {
        std::cout << Usage(Plattform::Windows);
        return 0;
    }
    if (line.unattended) return RunUnattendedWin32(line);
    try {
        Win32Host host(line.system);
        if (line.face != FaceChoice::Headless) return w32::RunWin32Face(line.options, host, RunProgram, line.hold);
        return RunHeadless(line.options, host);
    } catch (const std::exception& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace
}  // namespace kaldorin

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Before anything loads a DLL: only from System32, never from the program's own
    // folder, which is usually Downloads.
    kaldorin::w32::NurSystemBibliotheken();
    kaldorin::w32::WeggeraeumtesEntfernen();
    int anzahl = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &anzahl);
    std::vector<std::string> arguments;
    for (int i = 1; argv && i < anzahl; ++i) arguments.push_back(kaldorin::w32::Schmal(argv[i]));
    if (argv) LocalFree(argv);
    return kaldorin::Main(arguments);
}
