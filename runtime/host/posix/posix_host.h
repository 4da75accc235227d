#pragma once
// The host on POSIX systems. Windows paths map as Wine maps them: "C:" is
// <prefix>/drive_c, "Z:" is "/". Each path component resolves without regard to case
// against what exists; a new component is created in the case given.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/bundle.h"
#include "runtime/host/posix/nummerierte_dateien.h"
#include "runtime/host/system_facts.h"
#include "runtime/runtime.h"

namespace kaldorin {

class PosixHost : public Host {
public:
    // System facts that a caller may fix (from --system); unset ones come from the
    // machine: the prefix from $KALDORIN_PREFIX, $XDG_DATA_HOME/kaldorin or
    // ~/.local/share/kaldorin; setupdir (a host path) is the running program's folder;
    // the family NT; the processor CPUID's.
    using Fakten = SystemFacts;

    // Takes the prefix from `fakten` or the environment; touches no file yet. The
    // Windows skeleton of the prefix is made on first use:
    //   C:\WINDOWS, C:\WINDOWS\Profiles\All users\Desktop, C:\WINDOWS\Desktop,
    //   C:\WINDOWS\Start Menu\Programs, C:\Programme.
    explicit PosixHost(Fakten fakten = {});
    ~PosixHost() override;

    // The prefix folder (host path) holding drive_c and settings.ini.
    const std::string& Prefix() const;

    // The medium the program carries (checked by CheckOwnBundle): the program's own
    // path then names a folder to the search (FindFirst finds it with the folder bit)
    // whose files are the packed files, read in place; ProgramFolder is that path.
    void CarryBundle(Bundle bundle);

    // --- Files (Windows paths; every failure throws Laufzeitfehler) -------------
    // True only for an ordinary file (or a link to one); false for folders and
    // missing entries.
    bool FileExists(std::string_view path) override;
    bool FolderExists(std::string_view path) override;
    // Search of one folder; * and ? only in the last component, "." and ".." never
    // listed, a name without wildcards finds that one entry. "" when nothing matches,
    // the folder is missing or the pattern ends with a separator.
    std::string FindFirst(std::string_view pattern, int attributeClass) override;
    // The next name of the search (a snapshot taken by FindFirst), "" at the end.
    std::string FindNext() override;
    // Bits of the name found last: 16 folder, 2 hidden (name starts with "."),
    // 1 read-only (no write permission for the owner).
    int FoundAttributes() override;
    // Deletes an ordinary file; fails on folders, missing and read-only files.
    void DeleteFile(std::string_view path) override;
    // Gives the owner write permission (hidden and system have no bit to clear).
    void ClearAttributes(std::string_view path) override;
    // Makes one folder level in the case given.
    void MakeFolder(std::string_view path) override;
    // Removes an empty folder; never a drive root.
    void RemoveFolder(std::string_view path) override;

    // --- Numbered files: mapped to host paths and handed to NummerierteDateien ---
    int OpenRead(std::string_view path) override;
    int OpenWrite(std::string_view path) override;
    std::uint64_t Length(int file) override;
    std::vector<std::uint8_t> Read(int file, std::size_t count) override;
    void Write(int file, std::span<const std::uint8_t> bytes) override;
    void Close(int file) override;
    void Discard(int file) override;
    void Unpack(int source, std::span<const ByteRange> stream, int target) override;

    // --- Settings in <prefix>/settings.ini (runtime.h gives the contract) -------
    std::string ReadText(std::string_view application, std::string_view section,
                         std::string_view key) override;
    std::int64_t ReadInt(std::string_view application, std::string_view section,
                         std::string_view key, std::int64_t fallback) override;
    void WriteText(std::string_view application, std::string_view section,
                   std::string_view key, std::string_view value) override;
    void WriteInt(std::string_view application, std::string_view section,
                  std::string_view key, std::int64_t value) override;
    void DeleteKey(std::string_view application, std::string_view section,
                   std::string_view key) override;
    void DeleteSection(std::string_view application, std::string_view section) override;
    void DeleteApplication(std::string_view application) override;
    // Writes the number as decimal text.
    void WriteDword(std::string_view application, std::string_view section,
                    std::string_view key, std::uint32_t value) override;
    // Deletes a section and those below it; nothing when absent. No empty
    // application is left in their place.
    void DeleteSectionTree(std::string_view application, std::string_view section) override;

    // --- System -----------------------------------------------------------------
    // Windows path of Fakten.setupdir, else of the running program's folder.
    std::string ProgramFolder() override;
    // "C:\WINDOWS".
    std::string WindowsFolder() override;
    // "C:\WINDOWS\Start Menu\Programs", for both families.
    std::string ProgramsFolder() override;
    // "C:\Programme", made again when it went missing.
    std::string UserProgramFilesFolder() override;
    // "C:\WINDOWS\Desktop".
    std::string UserDesktopFolder() override;
    // Remembers the target; it is checked when CreateLink writes the link.
    void SetLinkTarget(std::string_view target) override;
    // Writes a .lnk (through a temporary file and a rename) in an existing folder;
    // the working folder is the target's folder. Replaces a link of the same name.
    void CreateLink(std::string_view path) override;
    // Negative for Fakten.nt == false (9x), else the word of an NT system.
    std::int32_t VersionWord() override;
    // Fakten.cpu, else CPUID leaf 1 EAX, else 0x00000600.
    std::uint32_t ProcessorSignature() override;
    // The compile date, "YYYY-MM-DD".
    std::string BuildText() override;
    // localtime_r, "YYYYMMDD".
    std::string LocalDate() override;

    // Host path -> "C:\..." under drive_c, else "Z:\..."; no trailing backslash
    // (the roots are "C:" and "Z:"). Fails for relative paths.
    std::string WindowsPath(std::string_view hostPath) override;
    // Windows path -> host path, existing components in their case on disk. Fails
    // for relative or malformed paths and for drives other than C and Z.
    std::string HostPath(std::string_view windowsPath) override;

private:
    struct Innen;
    std::unique_ptr<Innen> innen_;
    NummerierteDateien dateien_;
};

// The medium the running program carries, its whole payload checked, before anything
// is written; nullopt when the program carries none. `locator`: the program's own
// locator (app/bundle_locator.h). Throws Laufzeitfehler with a German sentence when the
// payload is damaged or cannot be read.
std::optional<Bundle> CheckOwnBundle(std::span<const std::uint8_t, kBundleLocatorSize> locator);
// The same for the program file `hostPath`.
std::optional<Bundle> CheckBundleFile(const std::string& hostPath,
                                      std::span<const std::uint8_t, kBundleLocatorSize> locator);

}  // namespace kaldorin
