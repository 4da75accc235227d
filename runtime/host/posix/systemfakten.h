#pragma once
// Facts of the machine the setup runs on.

#include <cstdint>
#include <string>

namespace kaldorin::posix {

// The processor signature from CPUID leaf 1 (EAX) on x86; elsewhere 0x00000600,
// a family-6 processor, which passes the program's minimum.
std::uint32_t CpuSignatur();

// Host path of the folder that holds the running program (from /proc/self/exe).
std::string ProgrammOrdner();

// "YYYY-MM-DD" of a date in the form of __DATE__ ("Mmm dd yyyy"); "" when it is not.
std::string DatumAusCompiler(const char* datum);

// The build's own date as "YYYY-MM-DD".
std::string BauDatum();

// Today's date on the local clock, "YYYYMMDD".
std::string HeutigesDatum();

// GetVersion-style words: NT 5.1 build 2600 and Windows 98 (high bit set).
constexpr std::int32_t kVersionNt = 0x0A280105;
constexpr std::int32_t kVersion9x = static_cast<std::int32_t>(0xC0000A04u);

}  // namespace kaldorin::posix
