#pragma once
// The facts of the system that a caller may fix instead of the machine's own: the
// host's half of `--system KEY=VALUE` (the face's half is in FaceOptions). Every host
// takes them whole, so that a fact added here reaches each one; unset facts come from
// the machine.

#include <cstdint>
#include <optional>
#include <string>

namespace kaldorin {

struct SystemFacts {
    std::string prefix;                // prefix=DIR: the POSIX host's prefix (no meaning on Windows)
    std::string setupdir;              // setupdir=PATH: the running program's folder
    std::optional<bool> nt;            // family=nt|9x: the sign of the version word
    std::optional<std::uint32_t> cpu;  // cpu=0xSIGNATURE instead of CPUID
};

}  // namespace kaldorin
