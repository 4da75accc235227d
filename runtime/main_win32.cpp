// The setup program's entry on Windows: reads the wide command line, picks the face
// (the Win32 windows unless the headless face is asked for), builds the host and
// runs the program.
//
//   kaldorin-setup.exe [--face win32|headless] [--headless] [--script FILE]
//                      [--transcript FILE] [--system KEY=VALUE ...] [--hold SECONDS]
//   kaldorin-setup.exe --unattended ...   (see the unattended options)
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "runtime/command_line.h"
#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/win32_host.h"
#include "runtime/host/win32/windows_w32.h"
#include "runtime/ui/headless/headless_face.h"
#include "runtime/ui/win32/win32_face.h"
#include "startup/programm.h"
#include "startup/unbeaufsichtigt.h"

#include <shellapi.h>

namespace kaldorin {
namespace {

constexpr int kBadUsage = 2;

void RunProgram(Laufzeit laufzeit) {
    Programm p(laufzeit);
    laufzeit.ui.BindHandlers(Ereignistabelle(p));
    Hauptprogramm(p);
}

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

Win32Host::Fakten HostFacts(const SystemFacts& facts) {
    Win32Host::Fakten f;
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

// --unattended: the road of one installation or removal, played on the real
// windows with every alert and message answered by its first button. Exit code 0
// when it reached its goal without an error message, 1 when it showed one, 2 for
// unusable options.
int RunUnattended(const std::vector<std::string>& argumente) {
    CommandLine line;
    std::vector<std::string> rest;
    try {
        for (std::size_t i = 0; i < argumente.size(); ++i) {
            if (argumente[i] == "--system" && i + 1 < argumente.size()) ApplySystemFact(line, argumente[++i]);
            else rest.push_back(argumente[i]);
        }
    } catch (const CommandLineError& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n';
        return kBadUsage;
    }
    std::string fehler;
    auto auftrag = Unbeaufsichtigt_Lesen(rest, fehler);
    if (!auftrag) {
        std::cerr << "kaldorin-setup: " << fehler << '\n' << Unbeaufsichtigt_Hilfe();
        return kBadUsage;
    }
    try {
        Win32Host host(HostFacts(line.system));
        for (std::string* ordner : {&auftrag->quelle, &auftrag->ziel})
            if (ordner->starts_with('/')) *ordner = host.WindowsPath(*ordner);
        line.options.answerDialogs = true;
        std::ofstream transcript;
        if (!auftrag->transkript.empty()) {
            transcript.open(auftrag->transkript, std::ios::binary | std::ios::trunc);
            if (!transcript) {
                std::cerr << "kaldorin-setup: cannot write the transcript " << auftrag->transkript << '\n';
                return kBadUsage;
            }
        }
        w32::Win32Face face(line.options, host, Script(ParseScript(Unbeaufsichtigt_Skript(*auftrag))),
                            auftrag->transkript.empty() ? nullptr : &transcript);
        const int code = face.Run([&] { RunProgram(Laufzeit{face, host}); });
        if (code == 1 || code == 2) return 1;
        if (auftrag->entfernen && face.Meldungen().empty())
            std::cout << "Es ist keine installierte Kopie von KALDORIN-Edit verzeichnet; "
                         "nichts wurde entfernt.\n";
        return Unbeaufsichtigt_Ergebnis(*auftrag, face.Meldungen());
    } catch (const std::exception& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n';
        return 1;
    }
}

int Main(std::vector<std::string> arguments) {
    if (!arguments.empty() && arguments.front() == "--unattended")
        return RunUnattended(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
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
        Win32Host host(HostFacts(line.system));
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
