// The setup program's entry on Windows: reads the wide command line, picks the face
// (the Win32 windows unless the headless face is asked for), builds the host and
// runs the program.
//
//   kaldorin-setup.exe [--face win32|headless] [--headless] [--script FILE]
//                      [--transcript FILE] [--system KEY=VALUE ...] [--hold SECONDS]
//   kaldorin-setup.exe --unattended ...   (see the unattended options)
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/command_line.h"
#include "app/entry.h"
#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/win32_host.h"
#include "runtime/host/win32/windows_w32.h"
#include "runtime/ui/win32/win32_face.h"

#include <shellapi.h>

namespace kaldorin {
namespace {

// What only the Windows build reads from the command line, taken out before the
// common parser sees the rest.
struct Windowsangaben {
    bool win32 = true;   // the face: Win32 unless --headless or --face headless
    int halten = 0;      // --hold SECONDS: a person may go on after the script
};

bool Herausnehmen(std::vector<std::string>& argumente, Windowsangaben& w, std::string& fehler) {
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < argumente.size(); ++i) {
        const std::string& a = argumente[i];
        if (a == "--face" && i + 1 < argumente.size() && argumente[i + 1] == "win32") {
            ++i;
        } else if (a == "--face" && i + 1 < argumente.size() && argumente[i + 1] == "qt") {
            fehler = "this build has no Qt face (win32, headless)";
            return false;
        } else if (a == "--hold") {
            if (i + 1 >= argumente.size()) {
                fehler = "--hold needs a number of seconds";
                return false;
            }
            const std::string& zahl = argumente[++i];
            char* ende = nullptr;
            const long s = std::strtol(zahl.c_str(), &ende, 10);
            if (zahl.empty() || *ende != '\0' || s < 0 || s > 3600) {
                fehler = "--hold expects 0 to 3600 seconds";
                return false;
            }
            w.halten = static_cast<int>(s);
        } else {
            if (a == "--headless" || (a == "--face" && i + 1 < argumente.size() && argumente[i + 1] == "headless"))
                w.win32 = false;
            rest.push_back(a);
        }
    }
    argumente = std::move(rest);
    return true;
}

// --unattended: the road played on the real windows, every alert and message
// answered by its first button.
int RunUnattendedWin32(const std::vector<std::string>& argumente) {
    return RunUnattended(
        argumente, [](const SystemFacts& facts) { return std::make_unique<Win32Host>(facts); },
        [](const FaceOptions& options, Host& host, Script script, std::ostream* transcript,
           std::vector<std::string>& meldungen) {
            w32::Win32Face face(options, host, std::move(script), transcript);
            const int code = face.Run([&] { RunProgram(Laufzeit{face, host}); });
            meldungen = face.Messages();
            return code;
        });
}

int Main(std::vector<std::string> arguments) {
    if (!arguments.empty() && arguments.front() == "--unattended")
        return RunUnattendedWin32(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    Windowsangaben windows;
    std::string fehler;
    CommandLine line;
    try {
        if (!Herausnehmen(arguments, windows, fehler)) throw CommandLineError(fehler);
        line = ParseCommandLine(arguments);
    } catch (const CommandLineError& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n' << Usage()
                  << "  --face win32        the Windows face (the default here)\n"
                  << "  --hold SECONDS      after the script, wait so long for a person\n";
        return kBadUsage;
    }
    if (line.help) {
        std::cout << Usage() << Unbeaufsichtigt_Hilfe();
        return 0;
    }
    try {
        Win32Host host(line.system);
        if (windows.win32) return w32::RunWin32Face(line.options, host, RunProgram, windows.halten);
        return RunHeadless(line.options, host);
    } catch (const std::exception& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace
}  // namespace kaldorin

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    int anzahl = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &anzahl);
    std::vector<std::string> arguments;
    for (int i = 1; argv && i < anzahl; ++i) arguments.push_back(kaldorin::w32::Schmal(argv[i]));
    if (argv) LocalFree(argv);
    return kaldorin::Main(std::move(arguments));
}
