// The Win32 host against the real system calls, run under Wine: what differs from the
// POSIX host (registry, sharing and attributes, case-blind names, links, facts). What
// every host keeps (tests/host_regeln.h) is asserted there only.
#include <gtest/gtest.h>

#include <zstd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/win32_host.h"
#include "runtime/host/win32/windows_w32.h"
#include "tests/host_regeln.h"

namespace kaldorin {
namespace {

using w32::Breit;
using w32::Schmal;

namespace fs = std::filesystem;

// A fresh folder under the temporary folder, removed again with all it holds.
struct Ordner {
    Ordner() { fs::create_directory(Breit(pfad)); }
    ~Ordner() {
        std::error_code egal;
        fs::remove_all(Breit(pfad), egal);
    }
    std::string operator/(const std::string& name) const { return pfad + "\\" + name; }
    static inline int n = 0;
    std::string pfad = Schmal(
        (fs::temp_directory_path() / ("kaldorin-test-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(n++))).wstring());
};

void Schreiben(const std::string& pfad, const std::string& inhalt) {
    std::ofstream(Breit(pfad).c_str(), std::ios::binary) << inhalt;  // mingw opens wide paths
}

std::string Lesen(const std::string& pfad) {
    std::ifstream datei(Breit(pfad).c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(datei), {});
}

void Attribute(const std::string& pfad, DWORD a) { SetFileAttributesW(Breit(pfad).c_str(), a); }

int Dateien(const Ordner& o) {
    int n = 0;
    for (const auto& e : fs::directory_iterator(Breit(o.pfad))) n += e.is_regular_file();
    return n;
}

std::vector<std::uint8_t> Gepackt(const std::string& inhalt) {
    std::vector<std::uint8_t> strom(ZSTD_compressBound(inhalt.size()));
    ZSTD_CCtx* cctx = ZSTD_createCCtx();
    ZSTD_CCtx_setParameter(cctx, ZSTD_c_checksumFlag, 1);
    strom.resize(ZSTD_compress2(cctx, strom.data(), strom.size(), inhalt.data(), inhalt.size()));
    ZSTD_freeCCtx(cctx);
    return strom;
}

// The rules the POSIX host keeps as well.
TEST(Regeln, KeepsTheRulesOfEveryHost) {
    Ordner o;
    Win32Host host;
    test::HostRegelnPruefen(host, o.pfad, "KaldorinRegeln" + std::to_string(GetCurrentProcessId()));
}

TEST(Einstellungen, RegistryIsCaseBlindAndNamesCannotReachOtherKeys) {
    Win32Host host;
    const std::string app = "KaldorinTest" + std::to_string(GetCurrentProcessId());
    host.WriteInt(app, "KALDORIN", "Zahl", -42);
    EXPECT_EQ(host.ReadInt(app, "kaldorin", "zahl", 7), -42);
    host.WriteText(app, "Andere", "Dir", "z");
    host.DeleteSection(app, "kaldorin");
    EXPECT_EQ(host.ReadText(app, "KALDORIN", "Zahl"), "");
    EXPECT_EQ(host.ReadText(app, "Andere", "Dir"), "z");
    EXPECT_THROW(host.WriteText("", "KALDORIN", "Dir", "x"), Laufzeitfehler);
    // A section of several levels holds a number the system reads as one, and goes
    // as a whole tree; an absent tree is no failure. No level is empty.
    host.WriteDword(app, "Windows\\Uninstall\\X", "Zahl", 4000000000u);
    host.WriteText(app, "Windows\\Uninstall\\X\\Y", "k", "v");
    EXPECT_EQ(host.ReadInt(app, "windows\\uninstall\\x", "zahl", 0), 4000000000);
    host.DeleteSectionTree(app, "Windows\\Uninstall\\X");
    EXPECT_EQ(host.ReadText(app, "Windows\\Uninstall\\X\\Y", "k"), "");
    host.DeleteSectionTree(app, "Windows\\Uninstall\\X");
    for (const char* falsch : {"a\\\\b", "\\a", "a\\", "a\\..\\b"})
        EXPECT_THROW(host.WriteText(app, falsch, "k", "v"), Laufzeitfehler) << falsch;
    // The application goes with every section and level below it.
    host.DeleteApplication(app);
    EXPECT_EQ(host.ReadText(app, "Andere", "Dir"), "");
}

TEST(Dateien, WriteReplacesOnCloseOrLeavesNoTrace) {
    Ordner o;
    Win32Host host;
    Schreiben(o / "ziel.txt", "alt und lang");
    int f = host.OpenWrite(o / "ziel.txt");
    host.Write(f, std::vector<std::uint8_t>{'n', 'e', 'u'});
    EXPECT_EQ(Lesen(o / "ziel.txt"), "alt und lang");
    host.Close(f);
    EXPECT_EQ(Lesen(o / "ziel.txt"), "neu");
    f = host.OpenWrite(o / "ziel.txt");
    host.Write(f, std::vector<std::uint8_t>{1, 2, 3});
    host.Discard(f);
    EXPECT_EQ(Lesen(o / "ziel.txt"), "neu");
    EXPECT_THROW(host.Close(f), Laufzeitfehler);
    // Unwritable targets are refused before anything is written.
    CreateDirectoryW(Breit(o / "ordner").c_str(), nullptr);
    Schreiben(o / "nurlesen.txt", "alt");
    Attribute(o / "nurlesen.txt", FILE_ATTRIBUTE_READONLY);
    // A file another program holds without sharing, like a running program file.
    Schreiben(o / "belegt.txt", "alt");
    HANDLE h = CreateFileW(Breit(o / "belegt.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    for (const char* ziel : {"fehlt\\ziel.txt", "ordner", "nurlesen.txt", "belegt.txt"})
        EXPECT_THROW(host.OpenWrite(o / ziel), Laufzeitfehler) << ziel;
    CloseHandle(h);
    Attribute(o / "nurlesen.txt", FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(Lesen(o / "nurlesen.txt"), "alt");
    EXPECT_EQ(Dateien(o), 3);  // ziel.txt, nurlesen.txt and belegt.txt: no temporary file of any write
}

// A running program keeps its file: deleting it fails, as the removal's step 7 must see
// (error 7). Only the setup program's own file is moved out of the way.
TEST(Dateien, ARunningProgramsFileStays) {
    Ordner o;
    Win32Host host;
    wchar_t eigen[MAX_PATH * 4] = {};
    GetModuleFileNameW(nullptr, eigen, MAX_PATH * 4 - 1);
    ASSERT_TRUE(CopyFileW(eigen, Breit(o / "laeuft.exe").c_str(), TRUE));
    STARTUPINFOW start{};
    start.cb = sizeof start;
    PROCESS_INFORMATION prozess{};
    ASSERT_TRUE(CreateProcessW(Breit(o / "laeuft.exe").c_str(), nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                               nullptr, nullptr, &start, &prozess));
    EXPECT_THROW(host.DeleteFile(o / "laeuft.exe"), Laufzeitfehler);
    TerminateProcess(prozess.hProcess, 0);
    WaitForSingleObject(prozess.hProcess, INFINITE);
    CloseHandle(prozess.hThread);
    CloseHandle(prozess.hProcess);
    EXPECT_EQ(Dateien(o), 1);
}

// The filler bytes between the ranges are skipped; a damaged stream or a range past
// the end never reaches the target.
TEST(Dateien, UnpackSkipsFillerAndNeverWritesADamagedStream) {
    Ordner o;
    Win32Host host;
    const std::string inhalt(100000, 'K');
    std::vector<std::uint8_t> strom = Gepackt(inhalt), datei(strom.begin(), strom.begin() + 5);
    datei.push_back(0xAA);
    datei.insert(datei.end(), strom.begin() + 5, strom.end());
    datei.push_back(0x00);
    Schreiben(o / "q.px_", std::string(datei.begin(), datei.end()));
    int q = host.OpenRead(o / "q.px_"), z = host.OpenWrite(o / "z.bin");
    EXPECT_EQ(host.Read(q, 5), std::vector<std::uint8_t>(strom.begin(), strom.begin() + 5));
    const ByteRange teile[] = {{0, 5}, {6, datei.size() - 7}};
    host.Unpack(q, teile, z);
    host.Close(q);
    host.Close(z);
    EXPECT_EQ(Lesen(o / "z.bin"), inhalt);

    strom.back() ^= 0xFF;  // checksum wrong
    Schreiben(o / "q.bin", std::string(strom.begin(), strom.end()));
    const ByteRange alles[] = {{0, strom.size()}}, zuLang[] = {{0, strom.size() + 1}};
    for (const auto& bereich : {alles, zuLang}) {
        q = host.OpenRead(o / "q.bin");
        z = host.OpenWrite(o / "z.bin");
        EXPECT_THROW(host.Unpack(q, std::span(bereich, 1), z), Laufzeitfehler);
        EXPECT_THROW(host.Close(z), Laufzeitfehler);  // a failed write is never completed
        host.Close(q);
    }
    EXPECT_EQ(Lesen(o / "z.bin"), inhalt);
    EXPECT_EQ(Dateien(o), 3);
}

TEST(Suche, AttributeClassesAndCaseBlindNamesAsOnWindows) {
    Ordner o;
    Win32Host host;
    Schreiben(o / "a.txt", "");
    Schreiben(o / "versteckt.txt", "");
    Attribute(o / "versteckt.txt", FILE_ATTRIBUTE_HIDDEN);
    host.MakeFolder(o / "Sound");
    EXPECT_EQ(host.FindFirst(o / "*", 0), "a.txt") << "neither the hidden file nor the folder";
    EXPECT_EQ(host.FindNext(), "");
    EXPECT_EQ(host.FindFirst(o / "SOUND", 0), "");
    EXPECT_EQ(host.FindFirst(o / "versteckt.*", 6), "versteckt.txt");
    EXPECT_TRUE(host.FoundAttributes() & 2);
    EXPECT_TRUE(host.FolderExists(o.pfad.substr(0, 2)));         // "C:" is the root
    Schreiben(o / "Sound\\a.wav", "");
    EXPECT_THROW(host.RemoveFolder(o / "Sound"), Laufzeitfehler);  // not empty
    Attribute(o / "Sound\\a.wav", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_THROW(host.DeleteFile(o / "sound\\A.WAV"), Laufzeitfehler);
    host.ClearAttributes(o / "Sound\\a.wav");
    host.DeleteFile(o / "sound\\A.WAV");
    host.RemoveFolder(o / "SOUND");
}

TEST(Verknuepfung, NeedsATargetAndAnExistingFolderAndIsReplaced) {
    Ordner o;
    Win32Host host;
    EXPECT_THROW(host.CreateLink(o / "a.lnk"), Laufzeitfehler);
    host.SetLinkTarget("C:\\Programme\\KALDORIN\\KALDORIN_Edit.EXE");
    EXPECT_THROW(host.CreateLink(o / "fehlt\\a.lnk"), Laufzeitfehler);
    host.CreateLink(o / "KALDORIN_Edit.LNK");
    host.CreateLink(o / "KALDORIN_Edit.LNK");
    EXPECT_TRUE(host.FileExists(o / "kaldorin_edit.lnk"));
    EXPECT_EQ(Dateien(o), 1);
}

TEST(Fakten, FamilyAndProcessorCanBeFixedAndPathsStayWindowsPaths) {
    SystemFacts ntFakten, neunFakten;
    ntFakten.nt = true, ntFakten.cpu = 0x480u, neunFakten.nt = false;
    Win32Host nt(ntFakten), neun(neunFakten);
    EXPECT_GE(nt.VersionWord(), 0);
    EXPECT_LT(neun.VersionWord(), 0);
    EXPECT_EQ(nt.ProcessorSignature(), 0x480u);
    EXPECT_NE(neun.ProcessorSignature(), 0u);
    EXPECT_EQ(nt.HostPath(nt.WindowsPath("C:\\Programme")), "C:\\Programme");
    // Under Wine a POSIX path has a Windows name; elsewhere it has none.
    if (GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version")) EXPECT_EQ(nt.WindowsPath("/tmp"), "Z:\\tmp");
    else EXPECT_THROW(nt.WindowsPath("/tmp"), Laufzeitfehler);
}

}  // namespace
}  // namespace kaldorin
