#pragma once
// The host on POSIX systems. Windows paths map as Wine maps them: "C:" is
// <prefix>/drive_c, "Z:" is "/". Each path component resolves without regard to case
// against what exists; a new component is created in the case given.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/host/posix/nummerierte_dateien.h"
#include "runtime/runtime.h"

namespace kaldorin {

class PosixHost : public Host {
public:
    // System facts that a caller may fix (from --system); unset ones come from the
    // machine.
    struct Fakten {
        std::string prefix;                       // else $KALDORIN_PREFIX, $XDG_DATA_HOME/kaldorin, ~/.local/share/kaldorin
        std::string setupdir;                     // host path; else the running program's folder
        std::optional<bool> nt;                   // family=nt|9x; default nt
        std::optional<std::uint32_t> cpu;         // cpu=0xSIGNATURE; default CPUID
    };

    explicit PosixHost(Fakten fakten = {});
    ~PosixHost() override;

    // The prefix folder (host path) holding drive_c and settings.ini.
    const std::string& Prefix() const;

    bool FileExists(std::string_view path) override;
    std::string FindFirst(std::string_view pattern, int attributeClass) override;
    std::string FindNext() override;
    int FoundAttributes() override;
    void DeleteFile(std::string_view path) override;
    void ClearAttributes(std::string_view path) override;
    void MakeFolder(std::string_view path) override;
    void RemoveFolder(std::string_view path) override;

    int OpenRead(std::string_view path) override;
    int OpenWrite(std::string_view path) override;
    std::uint64_t Length(int file) override;
    std::vector<std::uint8_t> Read(int file, std::size_t count) override;
    void Write(int file, std::span<const std::uint8_t> bytes) override;
    void Close(int file) override;
    void Discard(int file) override;
    void Unpack(int source, std::span<const ByteRange> stream, int target) override;

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

    std::string ProgramFolder() override;
    std::string WindowsFolder() override;
    std::string ProgramsFolder() override;
    void SetLinkTarget(std::string_view target) override;
    void CreateLink(std::string_view path) override;
    std::int32_t VersionWord() override;
    std::uint32_t ProcessorSignature() override;
    std::string BuildText() override;

    std::string WindowsPath(std::string_view hostPath) override;
    std::string HostPath(std::string_view windowsPath) override;

private:
    struct Innen;
    std::unique_ptr<Innen> innen_;
    NummerierteDateien dateien_;
};

}  // namespace kaldorin
