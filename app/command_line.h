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

#include "runtime/ui/face_options.h"

namespace kaldorin {

enum class FaceChoice { Automatic, Headless, Qt };

// Facts of the system that the host takes instead of the machine's own.
struct SystemFacts {
    std::string prefix;
    std::string setupdir;
    std::optional<bool> nt;
    std::optional<std::uint32_t> cpu;
};

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

// The usage text printed by --help and after a command-line error.
std::string Usage();

}  // namespace kaldorin
