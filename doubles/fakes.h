#pragma once
// Stand-ins for the runtime, for the tests and the benchmarks: a face that records what
// the user would see, a host that refuses everything, and one whose numbered files are
// the real POSIX ones, with host paths taken as they stand.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "runtime/host/posix/nummerierte_dateien.h"
#include "runtime/runtime.h"

namespace kaldorin::test {

struct Meldung {
    std::string text;
    std::string titel;
    int stil = 0;
};

class AufzeichnendeFace : public Face {
public:
    std::vector<Meldung> meldungen;
    int schritte = 0;
    std::function<void()> beimSchritt;  // runs inside EventStep, when set

    void Message(std::string_view text, std::string_view title, int style) override {
        meldungen.push_back({std::string(text), std::string(title), style});
    }
    void EventStep() override {
        ++schritte;
        if (beimSchritt) beimSchritt();
    }

    Handle OpenWindow(int, int, int, Handle) override { return 0; }
    void CloseWindow(Handle) override {}
    Handle LoadForm(std::string_view) override { return 0; }
    Handle FindControl(std::string_view) override { return 0; }
    Handle CreateControl(Handle, Art, std::string_view, std::string_view, int, int, int,
                         int) override { return 0; }
    void BindHandlers(HandlerTable) override {}
    void SetResizable(Handle, bool) override {}
    void SetText(Handle, std::string_view) override {}
    std::string Text(Handle) override { return {}; }
    void SetFontName(Handle, std::string_view) override {}
    void SetFontSize(Handle, int) override {}
    void SetFontBold(Handle, bool) override {}
    void SetTextColour(Handle, Farbe) override {}
    void SetBackColour(Handle, Farbe) override {}
    void SetToolTip(Handle, std::string_view) override {}
    void SetIcon(Handle, std::string_view) override {}
    void SetPicture(Handle, std::string_view) override {}
    void SetTransparent(Handle, bool) override {}
    void SetBorder(Handle, int) override {}
    void SetSmooth(Handle, bool) override {}
    void SetAutoRedraw(Handle, bool) override {}
    void SetTicked(Handle, bool) override {}
    bool Ticked(Handle) override { return false; }
    void SetProgressMax(Handle, int) override {}
    void SetProgress(Handle, int) override {}
    void Move(Handle, int, int) override {}
    void SetAvailable(Handle, bool) override {}
    bool Available(Handle) override { return true; }
    void Focus(Handle) override {}
    void SetMousePointer(int) override {}
    void SelectOutput(Handle) override {}
    void ClearOutput() override {}
    void SetForeColour(Farbe) override {}
    void SetOutputFontSize(int) override {}
    void SetOutputBold(bool) override {}
    void DrawLine(int, int, int, int) override {}
    void DrawText(int, int, std::string_view) override {}
    void SetPrintPosition(int, int) override {}
    void PrintItem(std::string_view) override {}
    void PrintLine(std::string_view) override {}
    int Alert(int, std::string_view, int, std::string_view) override { return 1; }
    std::string BrowseForFolder(Handle, int, std::string_view, std::string_view) override {
        return {};
    }
    int ScreenWidth() override { return 1024; }
    int ScreenHeight() override { return 768; }
    int ScreenWidthTwips() override { return 15360; }
    int ScreenHeightTwips() override { return 11520; }
    std::int64_t Colours() override { return 1 << 24; }
};

// A host on which every operation fails loudly: a stand-in overrides only what its test
// or benchmark reaches.
class LeererHost : public Host {
public:
    [[noreturn]] static void Nicht() { throw Laufzeitfehler("Im Test nicht vorgesehen."); }

    bool FileExists(std::string_view) override { Nicht(); }
    bool FolderExists(std::string_view) override { Nicht(); }
    std::string FindFirst(std::string_view, int) override { Nicht(); }
    std::string FindNext() override { Nicht(); }
    int FoundAttributes() override { Nicht(); }
    void DeleteFile(std::string_view) override { Nicht(); }
    void ClearAttributes(std::string_view) override { Nicht(); }
    void MakeFolder(std::string_view) override { Nicht(); }
    void RemoveFolder(std::string_view) override { Nicht(); }
    int OpenRead(std::string_view) override { Nicht(); }
    int OpenWrite(std::string_view) override { Nicht(); }
    std::uint64_t Length(int) override { Nicht(); }
    std::vector<std::uint8_t> Read(int, std::size_t) override { Nicht(); }
    void Write(int, std::span<const std::uint8_t>) override { Nicht(); }
    void Close(int) override { Nicht(); }
    void Discard(int) override { Nicht(); }
    void Unpack(int, std::span<const ByteRange>, int) override { Nicht(); }
    std::string ReadText(std::string_view, std::string_view, std::string_view) override { Nicht(); }
    std::int64_t ReadInt(std::string_view, std::string_view, std::string_view, std::int64_t) override { Nicht(); }
    void WriteText(std::string_view, std::string_view, std::string_view, std::string_view) override { Nicht(); }
    void WriteInt(std::string_view, std::string_view, std::string_view, std::int64_t) override { Nicht(); }
    void DeleteKey(std::string_view, std::string_view, std::string_view) override { Nicht(); }
    void DeleteSection(std::string_view, std::string_view) override { Nicht(); }
    void DeleteApplication(std::string_view) override { Nicht(); }
    void WriteDword(std::string_view, std::string_view, std::string_view, std::uint32_t) override { Nicht(); }
    void DeleteSectionTree(std::string_view, std::string_view) override { Nicht(); }
    std::string ProgramFolder() override { Nicht(); }
    std::string WindowsFolder() override { Nicht(); }
    std::string ProgramsFolder() override { Nicht(); }
    std::string UserProgramFilesFolder() override { Nicht(); }
    std::string UserDesktopFolder() override { Nicht(); }
    void SetLinkTarget(std::string_view) override { Nicht(); }
    void CreateLink(std::string_view) override { Nicht(); }
    std::int32_t VersionWord() override { Nicht(); }
    std::uint32_t ProcessorSignature() override { Nicht(); }
    std::string BuildText() override { Nicht(); }
    std::string LocalDate() override { Nicht(); }
    std::string WindowsPath(std::string_view) override { Nicht(); }
    std::string HostPath(std::string_view) override { Nicht(); }
};

// Files go to NummerierteDateien; the ranges of the last Unpack are kept.
class DurchreichHost : public LeererHost {
public:
    NummerierteDateien dateien;
    std::vector<ByteRange> letzteBereiche;
    int offen = 0;  // numbers opened and not yet closed or discarded

    bool FileExists(std::string_view path) override {
        return std::filesystem::is_regular_file(std::filesystem::path(path));
    }
    bool FolderExists(std::string_view path) override {
        return std::filesystem::is_directory(std::filesystem::path(path));
    }
    int OpenRead(std::string_view path) override {
        const int n = dateien.OpenRead(std::string(path));
        ++offen;
        return n;
    }
    int OpenWrite(std::string_view path) override {
        const int n = dateien.OpenWrite(std::string(path));
        ++offen;
        return n;
    }
    std::uint64_t Length(int file) override { return dateien.Length(file); }
    std::vector<std::uint8_t> Read(int file, std::size_t count) override {
        return dateien.Read(file, count);
    }
    void Write(int file, std::span<const std::uint8_t> bytes) override {
        dateien.Write(file, bytes);
    }
    void Close(int file) override {
        --offen;
        dateien.Close(file);
    }
    void Discard(int file) override {
        --offen;
        dateien.Discard(file);
    }
    void Unpack(int source, std::span<const ByteRange> stream, int target) override {
        letzteBereiche.assign(stream.begin(), stream.end());
        dateien.Unpack(source, stream, target);
    }
};

}  // namespace kaldorin::test
