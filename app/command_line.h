#pragma once
// The command line of kaldorin-setup, on Linux and on Windows: one table of options
// (command_line.cpp), read by one parser, and the usage text made from that table.
//
//   kaldorin-setup [--face headless|qt|win32] [--headless] [--script FILE]
//                  [--transcript FILE] [--system KEY=VALUE ...] [--hold SECONDS] [--help]
//   kaldorin-setup --unattended --accept-licence [--source DIR] [--target DIR]
//                  [--no-desktop] [--no-startmenu] [--no-converter] [--transcript FILE]
//   kaldorin-setup --unattended --remove [--remove-data all|fahrplan,...]
// System keys: screen=WxH, twips=N, colours=N (for the face); cpu=0xSIGNATURE,
// family=nt|9x, prefix=DIR, setupdir=PATH (for the host). The qt face is the Linux
// build's, win32 and --hold the Windows build's.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/host/system_facts.h"
#include "runtime/ui/face_options.h"
#include "startup/unbeaufsichtigt.h"

namespace kaldorin {

// The build that reads the command line: each offers the faces it has.
enum class Plattform { Posix, Windows };

enum class FaceChoice { Automatic, Headless, Qt, Win32 };

struct CommandLine {
    FaceChoice face = FaceChoice::Automatic;
    FaceOptions options;
    SystemFacts system;
    bool help = false;
    int hold = 0;              // --hold SECONDS (Windows): a person may go on after the script
    bool unattended = false;   // --unattended: the options below apply
    Unbeaufsichtigt auftrag;   // what an unattended run is to do; its transcript is options.transcript
};

// A command line that cannot be used; what() says why, in German.
struct CommandLineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name as `plattform`'s build reads them.
// Throws CommandLineError for an unknown option, a missing or bad value, an option of
// the other build, or one that does not fit the mode (unattended or not).
CommandLine ParseCommandLine(const std::vector<std::string>& arguments, Plattform plattform);

// Applies one "KEY=VALUE" of --system. Throws CommandLineError for an unknown key or
// a bad value.
void ApplySystemFact(CommandLine& line, const std::string& keyValue);

// The usage text of `plattform`'s build, made from the option table: every option
// once, then the exit codes.
std::string Usage(Plattform plattform);

// The names of all options of `plattform`'s build ("--script"), for the checks that
// the README names each.
std::vector<std::string> OptionNames(Plattform plattform);

}  // namespace kaldorin
