#pragma once
// The command line of kaldorin-setup:
//   kaldorin-setup [--face headless|qt] [--headless] [--script FILE]
//                  [--transcript FILE] [--system KEY=VALUE ...] [--help]
// System keys: screen=WxH, twips=N, colours=N (for the face); cpu=0xSIGNATURE,
// family=nt|9x, prefix=DIR, setupdir=PATH (for the host).

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "runtime/host/system_facts.h"
#include "runtime/ui/face_options.h"

namespace kaldorin {

enum class FaceChoice { Automatic, Headless, Qt };

struct CommandLine {
    FaceChoice face = FaceChoice::Automatic;
    FaceOptions options;
    SystemFacts system;
    bool help = false;
};

// A command line that cannot be used; what() says why.
struct CommandLineError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Parses the arguments after the program name. Throws CommandLineError.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments);

// Applies one "KEY=VALUE" of --system. Throws CommandLineError for an unknown key or
// a bad value.
void ApplySystemFact(CommandLine& line, const std::string& keyValue);

// Takes every "--system KEY=VALUE ..." out of `arguments` into `line`, read as
// ParseCommandLine reads it, and returns the other arguments in their order (the
// unattended options). Throws CommandLineError.
std::vector<std::string> TakeSystemFacts(const std::vector<std::string>& arguments, CommandLine& line);

// The usage text printed by --help and after a command-line error.
std::string Usage();

}  // namespace kaldorin
