// The Win32 host against the real system calls, run under Wine: settings in the
// registry, the sound write, unpacking, the directory search, links and facts.
#include <gtest/gtest.h>

#include <zstd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/win32_host.h"
#include "runtime/host/win32/windows_w32.h"
#include <shellapi.h>

namespace kaldorin {
namespace {

using w32::Breit;
using w32::Schmal;

// A fresh folder under the temporary folder, removed again with all it holds.
class Ordner {
public:
    Ordner() {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH, temp);
        pfad_ = Schmal(temp) + "kaldorin-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                std::to_string(zaehler_++);
        CreateDirectoryW(Breit(pfad_).c_str(), nullptr);
    }
    ~Ordner() {
        std::wstring doppelt = Breit(pfad_) + L'\0' + L'\0';
        SHFILEOPSTRUCTW op{};
        op.wFunc = FO_DELETE;
        op.pFrom = doppelt.c_str();
        op.fFlags = FOF_NO_UI;
        SHFileOperationW(&op);
    }
    std::string operator/(const std::string& name) const { return pfad_ + "\\" + name; }
    const std::string& Pfad() const { return pfad_; }

private:
    std::string pfad_;
    static inline int zaehler_ = 0;
};

void Schreiben(const std::string& pfad, const std::string& inhalt) {
    std::ofstream(Breit(pfad).c_str(), std::ios::binary) << inhalt;  // mingw opens wide paths
}

std::string Lesen(const std::string& pfad) {
    std::ifstream datei(Breit(pfad).c_str(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(datei), {});
}

int Dateien(const Ordner& o) {
    WIN32_FIND_DATAW d{};
    HANDLE h = FindFirstFileW(Breit(o / "*").c_str(), &d);
    int n = 0;
    if (h == INVALID_HANDLE_VALUE) return 0;
    do {
        if (!(d.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileW(h, &d));
    FindClose(h);
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

// --- Settings --------------------------------------------------------------------

class Einstellungen : public ::testing::Test {
protected:
    void TearDown() override {
        try {
            host.DeleteApplication(app);
        } catch (const Laufzeitfehler&) {
        }
    }
    Win32Host host;
    const std::string app = "KaldorinTest" + std::to_string(GetCurrentProcessId());
};

TEST_F(Einstellungen, RoundTripWithoutRegardToCaseAndUmlauts) {
    EXPECT_EQ(host.ReadText(app, "KALDORIN", "Dir"), "");
    host.WriteText(app, "KALDORIN", "Dir", "C:\\Programme\\Fahrstraßen");
    EXPECT_EQ(host.ReadText(app, "kaldorin", "dir"), "C:\\Programme\\Fahrstraßen");
    host.WriteInt(app, "KALDORIN", "Zahl", -42);
    EXPECT_EQ(host.ReadInt(app, "KALDORIN", "Zahl", 7), -42);
    EXPECT_EQ(host.ReadInt(app, "KALDORIN", "Dir", 7), 7);      // not a number
    EXPECT_EQ(host.ReadInt(app, "KALDORIN", "Fehlt", 7), 7);    // absent
}

TEST_F(Einstellungen, DeletingWhatIsAbsentFails) {
    EXPECT_THROW(host.DeleteKey(app, "KALDORIN", "Dir"), Laufzeitfehler);
    EXPECT_THROW(host.DeleteSection(app, "KALDORIN"), Laufzeitfehler);
    EXPECT_THROW(host.DeleteApplication(app), Laufzeitfehler);
    host.WriteText(app, "KALDORIN", "Dir", "x");
    host.DeleteKey(app, "KALDORIN", "DIR");
    EXPECT_EQ(host.ReadText(app, "KALDORIN", "Dir"), "");
    EXPECT_THROW(host.DeleteKey(app, "KALDORIN", "Dir"), Laufzeitfehler);
}

TEST_F(Einstellungen, SectionAndApplicationGoWithEverythingInThem) {
    host.WriteText(app, "KALDORIN", "Dir", "x");
    host.WriteText(app, "KALDORIN", "BWS1", "y");
    host.WriteText(app, "Andere", "Dir", "z");
    host.DeleteSection(app, "kaldorin");
    EXPECT_EQ(host.ReadText(app, "KALDORIN", "BWS1"), "");
    EXPECT_EQ(host.ReadText(app, "Andere", "Dir"), "z");
    host.DeleteApplication(app);
    EXPECT_EQ(host.ReadText(app, "Andere", "Dir"), "");
}

TEST_F(Einstellungen, NamesCannotReachOtherKeys) {
    EXPECT_THROW(host.WriteText(app, "..\\..\\Software", "Dir", "x"), Laufzeitfehler);
    EXPECT_THROW(host.WriteText("", "KALDORIN", "Dir", "x"), Laufzeitfehler);
    EXPECT_THROW(host.DeleteApplication(""), Laufzeitfehler);
    EXPECT_THROW(host.DeleteSection(app, "a\\b"), Laufzeitfehler);
}

// --- Numbered files ----------------------------------------------------------------

TEST(Dateien, WriteReplacesTheTargetOnlyOnClose) {
    Ordner o;
    Win32Host host;
    Schreiben(o / "ziel.txt", "alt und lang");
    const int f = host.OpenWrite(o / "ziel.txt");
    const std::string neu = "neu";
    host.Write(f, std::span(reinterpret_cast<const std::uint8_t*>(neu.data()), neu.size()));
    EXPECT_EQ(Lesen(o / "ziel.txt"), "alt und lang");
    host.Close(f);
    EXPECT_EQ(Lesen(o / "ziel.txt"), "neu");
    EXPECT_EQ(Dateien(o), 1);  // no temporary file left
}

TEST(Dateien, DiscardLeavesTheTargetAndNoTemporaryFile) {
    Ordner o;
    Win32Host host;
    Schreiben(o / "ziel.txt", "alt");
    const int f = host.OpenWrite(o / "ziel.txt");
    host.Write(f, std::vector<std::uint8_t>{1, 2, 3});
    host.Discard(f);
    EXPECT_EQ(Lesen(o / "ziel.txt"), "alt");
    EXPECT_EQ(Dateien(o), 1);
    EXPECT_THROW(host.Close(f), Laufzeitfehler);  // the number is gone
}

TEST(Dateien, UnwritableTargetsAreRefusedBeforeAnythingIsWritten) {
    Ordner o;
    Win32Host host;
    EXPECT_THROW(host.OpenWrite(o / "fehlt\\ziel.txt"), Laufzeitfehler);
    CreateDirectoryW(Breit(o / "ordner").c_str(), nullptr);
    EXPECT_THROW(host.OpenWrite(o / "ordner"), Laufzeitfehler);
    Schreiben(o / "nurlesen.txt", "alt");
    SetFileAttributesW(Breit(o / "nurlesen.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_THROW(host.OpenWrite(o / "nurlesen.txt"), Laufzeitfehler);
    EXPECT_EQ(Lesen(o / "nurlesen.txt"), "alt");
    SetFileAttributesW(Breit(o / "nurlesen.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
    // A file another program holds without sharing, like a running program file.
    Schreiben(o / "belegt.txt", "alt");
    HANDLE h = CreateFileW(Breit(o / "belegt.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_THROW(host.OpenWrite(o / "belegt.txt"), Laufzeitfehler);
    CloseHandle(h);
    EXPECT_EQ(Dateien(o), 2);  // nurlesen.txt and belegt.txt, nothing else
}

TEST(Dateien, ReadingPastTheEndFails) {
    Ordner o;
    Win32Host host;
    Schreiben(o / "q.bin", "12345");
    const int f = host.OpenRead(o / "q.bin");
    EXPECT_EQ(host.Length(f), 5u);
    EXPECT_EQ(host.Read(f, 3).size(), 3u);
    EXPECT_THROW(host.Read(f, 3), Laufzeitfehler);
    EXPECT_EQ(host.Read(f, 2), (std::vector<std::uint8_t>{'4', '5'}));
    host.Close(f);
    EXPECT_THROW(host.OpenRead(o / "fehlt.bin"), Laufzeitfehler);
}

TEST(Dateien, UnpackSkipsTheFillerBytesAndWritesTheContent) {
    Ordner o;
    Win32Host host;
    const std::string inhalt(100000, 'K');
    std::vector<std::uint8_t> strom = Gepackt(inhalt);
    std::vector<std::uint8_t> datei(strom.begin(), strom.begin() + 5);
    datei.push_back(0xAA);
    datei.insert(datei.end(), strom.begin() + 5, strom.end());
    datei.push_back(0x00);
    Schreiben(o / "q.px_", std::string(datei.begin(), datei.end()));
    const int q = host.OpenRead(o / "q.px_");
    const int z = host.OpenWrite(o / "z.bin");
    const ByteRange teile[] = {{0, 5}, {6, datei.size() - 7}};
    host.Unpack(q, teile, z);
    host.Close(q);
    host.Close(z);
    EXPECT_EQ(Lesen(o / "z.bin"), inhalt);
}

TEST(Dateien, ADamagedStreamNeverReachesTheTarget) {
    Ordner o;
    Win32Host host;
    std::vector<std::uint8_t> strom = Gepackt(std::string(5000, 'x'));
    strom.back() ^= 0xFF;  // checksum wrong
    Schreiben(o / "q.bin", std::string(strom.begin(), strom.end()));
    Schreiben(o / "z.bin", "alt");
    const int q = host.OpenRead(o / "q.bin");
    const int z = host.OpenWrite(o / "z.bin");
    const ByteRange alles[] = {{0, strom.size()}};
    EXPECT_THROW(host.Unpack(q, alles, z), Laufzeitfehler);
    EXPECT_THROW(host.Close(z), Laufzeitfehler);  // a failed write is never completed
    host.Close(q);
    EXPECT_EQ(Lesen(o / "z.bin"), "alt");
    EXPECT_EQ(Dateien(o), 2);
    const int q2 = host.OpenRead(o / "q.bin");
    const int z2 = host.OpenWrite(o / "z.bin");
    const ByteRange zuLang[] = {{0, strom.size() + 1}};
    EXPECT_THROW(host.Unpack(q2, zuLang, z2), Laufzeitfehler);
    host.Discard(z2);
    host.Close(q2);
}

// --- Search, folders, attributes -------------------------------------------------------

TEST(Suche, AttributeClassesDecideWhatIsListed) {
    Ordner o;
    Win32Host host;
    Schreiben(o / "a.txt", "");
    Schreiben(o / "versteckt.txt", "");
    SetFileAttributesW(Breit(o / "versteckt.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
    host.MakeFolder(o / "Sound");
    EXPECT_EQ(host.FindFirst(o / "*", 0), "a.txt");
    EXPECT_EQ(host.FindNext(), "");
    EXPECT_THROW(host.FoundAttributes(), Laufzeitfehler);
    EXPECT_EQ(host.FindFirst(o / "SOUND", 16), "Sound");
    EXPECT_TRUE(host.FoundAttributes() & 16);
    EXPECT_EQ(host.FindFirst(o / "SOUND", 0), "");
    EXPECT_EQ(host.FindFirst(o / "versteckt.*", 6), "versteckt.txt");
    EXPECT_TRUE(host.FoundAttributes() & 2);
    EXPECT_EQ(host.FindFirst(o / "fehlt\\*", 22), "");
}

TEST(Suche, FoldersAndFilesFailAsOnWindows) {
    Ordner o;
    Win32Host host;
    host.MakeFolder(o / "Help");
    EXPECT_THROW(host.MakeFolder(o / "help"), Laufzeitfehler);       // exists, any case
    EXPECT_THROW(host.MakeFolder(o / "x\\y"), Laufzeitfehler);       // parent missing
    EXPECT_TRUE(host.FolderExists(o / "HELP"));
    EXPECT_FALSE(host.FolderExists(o / "x"));
    EXPECT_TRUE(host.FolderExists(o.Pfad().substr(0, 2)));            // "C:" is the root
    Schreiben(o / "Help\\a.hlp", "");
    EXPECT_THROW(host.RemoveFolder(o / "Help"), Laufzeitfehler);     // not empty
    SetFileAttributesW(Breit(o / "Help\\a.hlp").c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_THROW(host.DeleteFile(o / "help\\A.HLP"), Laufzeitfehler);
    host.ClearAttributes(o / "Help\\a.hlp");
    host.DeleteFile(o / "help\\A.HLP");
    EXPECT_FALSE(host.FileExists(o / "Help\\a.hlp"));
    EXPECT_FALSE(host.FileExists(o / "Help"));                        // a folder is no file
    host.RemoveFolder(o / "HELP");
    EXPECT_THROW(host.RemoveFolder(o / "Help"), Laufzeitfehler);
    EXPECT_THROW(host.DeleteFile(o / "fehlt.txt"), Laufzeitfehler);
}

// --- Links and facts -------------------------------------------------------------------

TEST(Verknuepfung, NeedsATargetAndAnExistingFolder) {
    Ordner o;
    Win32Host host;
    EXPECT_THROW(host.CreateLink(o / "a.lnk"), Laufzeitfehler);
    host.SetLinkTarget("C:\\Programme\\KALDORIN\\KALDORIN_Edit.EXE");
    EXPECT_THROW(host.CreateLink(o / "fehlt\\a.lnk"), Laufzeitfehler);
    host.CreateLink(o / "KALDORIN_Edit.LNK");
    host.CreateLink(o / "KALDORIN_Edit.LNK");  // replaced, not refused
    EXPECT_TRUE(host.FileExists(o / "kaldorin_edit.lnk"));
    EXPECT_EQ(Dateien(o), 1);
}

TEST(Fakten, FamilyAndProcessorCanBeFixed) {
    SystemFacts ntFakten, neunFakten;
    ntFakten.nt = true;
    ntFakten.cpu = 0x480u;
    neunFakten.nt = false;
    Win32Host nt(ntFakten);
    Win32Host neun(neunFakten);
    EXPECT_GE(nt.VersionWord(), 0);
    EXPECT_LT(neun.VersionWord(), 0);
    EXPECT_EQ(nt.ProcessorSignature(), 0x480u);
    EXPECT_NE(neun.ProcessorSignature(), 0u);
    EXPECT_EQ(nt.BuildText().size(), 10u);
    EXPECT_FALSE(nt.WindowsFolder().empty());
    EXPECT_FALSE(nt.ProgramsFolder().empty());
    EXPECT_EQ(nt.ProgramFolder().find_last_of('\\') + 1 < nt.ProgramFolder().size(), true);
}

TEST(Fakten, PathsAreWindowsPathsAsTheyAre) {
    Win32Host host;
    EXPECT_EQ(host.WindowsPath("C:\\Programme"), "C:\\Programme");
    EXPECT_EQ(host.HostPath("C:\\Programme"), "C:\\Programme");
    // Under Wine a POSIX path has a Windows name; elsewhere it has none.
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (wine) EXPECT_EQ(host.WindowsPath("/tmp"), "Z:\\tmp");
    else EXPECT_THROW(host.WindowsPath("/tmp"), Laufzeitfehler);
}

}  // namespace
}  // namespace kaldorin
