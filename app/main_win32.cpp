// The setup program's entry on Windows: reads the wide command line, picks the face
// (the Win32 windows unless the headless face is asked for), builds the host and
// runs the program.
//
// (the options: app/command_line.h)
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/bundle_locator.h"
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

std::optional<Bundle> EigenesMedium() { return CheckOwnBundle(OwnBundleLocator()); }

// --unattended: the road played on the real windows, every alert and message
// answered by its first button.
int RunUnattendedWin32(const CommandLine& line) {
    return RunUnattended(
        line,
        [](const SystemFacts& facts, std::optional<Bundle> bundle) {
            auto host = std::make_unique<Win32Host>(facts);
            if (bundle) host->CarryBundle(std::move(*bundle));
            return host;
        },
        [](const FaceOptions& options, Host& host, Script script, std::ostream* transcript,
           std::vector<std::string>& meldungen) {
            w32::Win32Face face(options, host, std::move(script), transcript);
            const int code = face.Run([&] { RunProgram(Laufzeit{face, host}); });
            meldungen = face.Messages();
            return code;
        },
        EigenesMedium);
}

int Main(const std::vector<std::string>& arguments) {
    CommandLine line;
    if (const std::optional<int> ende = ReadCommandLine(arguments, Plattform::Windows, line)) return *ende;
    if (line.unattended) return RunUnattendedWin32(line);
    const bool fenster = line.face != FaceChoice::Headless;
    std::optional<Bundle> bundle;
    std::string schaden;
    if (!CheckCarriedMedium(EigenesMedium, line.options.transcript, bundle, &schaden)) {
        // Started by a person (no script): a program of the Windows subsystem has no
        // console that person would see.
        if (fenster && line.options.script.empty())
            MessageBoxW(nullptr, w32::Breit(schaden).c_str(), L"KALDORIN-Edit Setup", MB_OK | MB_ICONSTOP);
        return 1;
    }
    try {
        Win32Host host(line.system);
        if (bundle) host.CarryBundle(std::move(*bundle));
        if (fenster) return w32::RunWin32Face(line.options, host, RunProgram, line.hold);
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
