#pragma once
// A host for face tests: only the path mapping and the folders it is given work; everything else is not needed
// by a face and fails loudly if a test reaches it.

#include <set>
#include <string>

#include "runtime/runtime.h"

namespace kaldorin::test {

class FakeHost : public Host {
public:
    [[noreturn]] static void Unused() { throw Laufzeitfehler("not in the fake host"); }

    // The folders that exist, as Windows paths.
    std::set<std::string, std::less<>> folders;

    bool FileExists(std::string_view) override { Unused(); }
    bool FolderExists(std::string_view path) override { return folders.contains(path); }
    std::string FindFirst(std::string_view, int) override { Unused(); }
    std::string FindNext() override { Unused(); }
    int FoundAttributes() override { Unused(); }
    void DeleteFile(std::string_view) override { Unused(); }
    void ClearAttributes(std::string_view) override { Unused(); }
    void MakeFolder(std::string_view) override { Unused(); }
    void RemoveFolder(std::string_view) override { Unused(); }
    int OpenRead(std::string_view) override { Unused(); }
    int OpenWrite(std::string_view) override { Unused(); }
    std::uint64_t Length(int) override { Unused(); }
    std::vector<std::uint8_t> Read(int, std::size_t) override { Unused(); }
    void Write(int, std::span<const std::uint8_t>) override { Unused(); }
    void Close(int) override { Unused(); }
    void Discard(int) override { Unused(); }
    void Unpack(int, std::span<const ByteRange>, int) override { Unused(); }
    std::string ReadText(std::string_view, std::string_view, std::string_view) override { Unused(); }
    std::int64_t ReadInt(std::string_view, std::string_view, std::string_view, std::int64_t) override { Unused(); }
    void WriteText(std::string_view, std::string_view, std::string_view, std::string_view) override { Unused(); }
    void WriteInt(std::string_view, std::string_view, std::string_view, std::int64_t) override { Unused(); }
    void DeleteKey(std::string_view, std::string_view, std::string_view) override { Unused(); }
    void DeleteSection(std::string_view, std::string_view) override { Unused(); }
    void DeleteApplication(std::string_view) override { Unused(); }
    std::string ProgramFolder() override { Unused(); }
    std::string WindowsFolder() override { Unused(); }
    std::string ProgramsFolder() override { Unused(); }
    std::string UserProgramFilesFolder() override { Unused(); }
    std::string UserDesktopFolder() override { Unused(); }
    void SetLinkTarget(std::string_view) override { Unused(); }
    void CreateLink(std::string_view) override { Unused(); }
    std::int32_t VersionWord() override { Unused(); }
    std::uint32_t ProcessorSignature() override { Unused(); }
    std::string BuildText() override { Unused(); }

    // "/x/y" -> "Z:\x\y"; "/bad..." cannot be named.
    std::string WindowsPath(std::string_view hostPath) override {
        if (hostPath.starts_with("/bad")) throw Laufzeitfehler("Pfad nicht darstellbar");
        std::string path = "Z:";
        for (char c : hostPath) path += c == '/' ? '\\' : c;
        return path;
    }
    std::string HostPath(std::string_view) override { Unused(); }
};

}  // namespace kaldorin::test
