#pragma once
// The host on Windows: Windows paths as they are, the wide API throughout, the
// registry for settings and the shell for links.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/bundle.h"
#include "runtime/host/system_facts.h"
#include "runtime/runtime.h"

namespace kaldorin {

class Win32Host : public Host {
public:
    // System facts a caller may fix (from --system); unset ones come from Windows.
    // setupdir is a Windows path; the prefix has no meaning here.
    using Fakten = SystemFacts;

    explicit Win32Host(Fakten fakten = {});
    ~Win32Host() override;

    // The medium the program carries (checked by CheckOwnBundle): the program's own
    // path then names a folder to the search (FindFirst finds it with the folder bit)
    // whose files are the packed files, read in place; ProgramFolder is that path.
    void CarryBundle(Bundle bundle);

    // --- Files ------------------------------------------------------------------
    bool FileExists(std::string_view path) override;
    bool FolderExists(std::string_view path) override;
    // FindFirstFileW: "." and ".." never listed; folders with class 16, hidden and
    // system entries with 2 or 4. "" when nothing matches or the folder is missing.
    std::string FindFirst(std::string_view pattern, int attributeClass) override;
    std::string FindNext() override;
    int FoundAttributes() override;
    // Fails on folders, missing and read-only files (as DeleteFileW does). The running
    // program's own file is moved into a new folder in the user's temporary folder.
    void DeleteFile(std::string_view path) override;
    void ClearAttributes(std::string_view path) override;
    void MakeFolder(std::string_view path) override;
    // Leaves the folder first when it is the current one.
    void RemoveFolder(std::string_view path) override;

    int OpenRead(std::string_view path) override;
    int OpenWrite(std::string_view path) override;
    std::uint64_t Length(int file) override;
    std::vector<std::uint8_t> Read(int file, std::size_t count) override;
    void Write(int file, std::span<const std::uint8_t> bytes) override;
    void Close(int file) override;
    void Discard(int file) override;
    void Unpack(int source, std::span<const ByteRange> stream, int target) override;

    // --- Settings: HKEY_CURRENT_USER\Software\<application>\<section> --------------
    std::string ReadText(std::string_view application, std::string_view section,
                         std::string_view key) override;
    // A value read as a decimal integer; `fallback` when absent or not a number.
    std::int64_t ReadInt(std::string_view application, std::string_view section,
                         std::string_view key, std::int64_t fallback) override;
    void WriteText(std::string_view application, std::string_view section,
                   std::string_view key, std::string_view value) override;
    // Writes the integer as decimal text, as WriteText would.
    void WriteInt(std::string_view application, std::string_view section,
                  std::string_view key, std::int64_t value) override;
    void DeleteKey(std::string_view application, std::string_view section,
                   std::string_view key) override;
    void DeleteSection(std::string_view application, std::string_view section) override;
    void DeleteApplication(std::string_view application) override;
    // REG_DWORD.
    void WriteDword(std::string_view application, std::string_view section,
                    std::string_view key, std::uint32_t value) override;
    // RegDeleteTreeW; nothing when the key is absent.
    void DeleteSectionTree(std::string_view application, std::string_view section) override;

    // --- System -----------------------------------------------------------------
    std::string ProgramFolder() override;
    // GetWindowsDirectoryW.
    std::string WindowsFolder() override;
    // The shell's programs folder of the Start menu (CSIDL_PROGRAMS).
    std::string ProgramsFolder() override;
    // FOLDERID_UserProgramFiles ("%LOCALAPPDATA%\Programs"), made when missing.
    std::string UserProgramFilesFolder() override;
    // CSIDL_DESKTOPDIRECTORY.
    std::string UserDesktopFolder() override;
    void SetLinkTarget(std::string_view target) override;
    void CreateLink(std::string_view path) override;
    // GetVersion, its sign forced by Fakten.nt when given.
    std::int32_t VersionWord() override;
    // Fakten.cpu, else CPUID leaf 1 EAX.
    std::uint32_t ProcessorSignature() override;
    std::string BuildText() override;
    // GetLocalTime.
    std::string LocalDate() override;

    // Windows paths are the host's own: both are the identity for them. A POSIX
    // path ("/home/a") is named through Wine when the program runs under Wine.
    std::string WindowsPath(std::string_view hostPath) override;
    std::string HostPath(std::string_view windowsPath) override;

private:
    struct Innen;
    std::unique_ptr<Innen> innen_;
};

// The medium the running program carries, its whole payload checked, before anything
// is written; nullopt when it carries none. `locator`: the program's own locator
// (app/bundle_locator.h). Throws Laufzeitfehler with a German sentence when the
// payload is damaged or cannot be read.
std::optional<Bundle> CheckOwnBundle(std::span<const std::uint8_t, kBundleLocatorSize> locator);
// The same for the program file `pfad` (a Windows path).
std::optional<Bundle> CheckBundleFile(const std::string& pfad, std::span<const std::uint8_t, kBundleLocatorSize> locator);

}  // namespace kaldorin
