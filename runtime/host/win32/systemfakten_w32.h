#pragma once
// Facts of the Windows system the host reports.

#include <cstdint>
#include <optional>
#include <string>

namespace kaldorin::w32 {

// The running program's file, and its folder (no trailing backslash).
std::wstring ProgrammDatei();
std::string ProgrammOrdner();
std::string WindowsOrdner();
// The programs folder of the user's Start menu.
std::string ProgrammeOrdner();
// The user's own programs folder (FOLDERID_UserProgramFiles), made when missing.
std::string EigenerProgrammOrdner();
// The user's own desktop (CSIDL_DESKTOPDIRECTORY).
std::string EigenerDesktop();
// GetVersion(): negative on the 9x family.
std::int32_t VersionsWort();
// CPUID leaf 1 EAX; 0x600 when the instruction gives nothing.
std::uint32_t CpuSignatur();
// The compile date, "YYYY-MM-DD".
std::string BauDatum();
// Today's date on the local clock, "YYYYMMDD".
std::string HeutigesDatum();
// The Windows name of a POSIX path when the program runs under Wine; nothing
// elsewhere or when Wine cannot name it.
std::optional<std::string> UnterWine(const std::string& posixPfad);

}  // namespace kaldorin::w32
