#include <cstdlib>

#include "host_fixture.h"

namespace kaldorin::test {
namespace {

TEST_F(HostTest, MapsDriveCAndZBothWays) {
    EXPECT_EQ(host_->HostPath("C:\\Programme\\KALDORIN"), C("Programme/KALDORIN"));
    EXPECT_EQ(host_->HostPath("c:/Programme/KALDORIN/"), C("Programme/KALDORIN"));
    EXPECT_EQ(host_->HostPath("Z:\\usr\\bin"), "/usr/bin");
    EXPECT_EQ(host_->HostPath("Z:"), "/");
    EXPECT_EQ(host_->HostPath("C:"), C());

    EXPECT_EQ(host_->WindowsPath(C("Programme/KALDORIN")), "C:\\Programme\\KALDORIN");
    EXPECT_EQ(host_->WindowsPath(C()), "C:");
    // A sibling whose name merely begins like drive_c is not on drive C.
    EXPECT_EQ(host_->WindowsPath(C() + "x").substr(0, 3), "Z:\\");
    EXPECT_EQ(host_->WindowsPath("/usr//bin/"), "Z:\\usr\\bin");
    EXPECT_EQ(host_->WindowsPath("/"), "Z:");
}

TEST_F(HostTest, ResolvesComponentsWithoutRegardToCase) {
    fs::create_directories(C("KALDORIN/Sound"));
    fs::create_directories(C("KALDORIN/Straße/ÄÖÜ"));
    EXPECT_EQ(host_->HostPath("C:\\kaldorin\\sound"), C("KALDORIN/Sound"));
    EXPECT_EQ(host_->HostPath("C:\\Kaldorin\\STRAßE\\äöü"), C("KALDORIN/Straße/ÄÖÜ"));
    // ß has no upper-case form of its own in names: "SS" is another name.
    EXPECT_EQ(host_->HostPath("C:\\KALDORIN\\STRASSE"), C("KALDORIN/STRASSE"));
    // A missing component, and everything below it, keeps the case given.
    EXPECT_EQ(host_->HostPath("C:\\KALDORIN\\Neu\\sound"), C("KALDORIN/Neu/sound"));
    // Among several matches the exact name, else the first in byte order.
    fs::create_directories(C("abc"));
    fs::create_directories(C("ABC"));
    EXPECT_EQ(host_->HostPath("C:\\abc"), C("abc"));
    EXPECT_EQ(host_->HostPath("C:\\ABC"), C("ABC"));
    EXPECT_EQ(host_->HostPath("C:\\Abc"), C("ABC"));
}

TEST_F(HostTest, RejectsMalformedPathsAndNeverLeavesTheDrive) {
    for (const char* pfad : {"", "relativ\\pfad", "\\Programme", "C:Programme", "\\\\server\\teil",
                             "D:\\Daten", "1:\\x", "C:\\a\nb"}) {
        EXPECT_THROW(host_->HostPath(pfad), Laufzeitfehler) << pfad;
    }
    EXPECT_THROW(host_->WindowsPath("relativ/pfad"), Laufzeitfehler);
    EXPECT_THROW(host_->WindowsPath(""), Laufzeitfehler);
    // ".." never leaves the drive.
    EXPECT_EQ(host_->HostPath("C:\\..\\..\\etc\\passwd"), C("etc/passwd"));
    EXPECT_EQ(host_->HostPath("C:\\Programme\\.\\..\\WINDOWS"), C("WINDOWS"));
}

TEST_F(HostTest, MakesTheWindowsSkeletonOnFirstUseReusingFoldersOfAnotherCase) {
    // Which folders it holds, the installation's links and target show.
    EXPECT_FALSE(fs::exists(C()));  // the constructor touches nothing
    EXPECT_EQ(host_->ProgramsFolder(), "C:\\WINDOWS\\Start Menu\\Programs");
    EXPECT_TRUE(fs::is_directory(C("WINDOWS/Start Menu/Programs")));

    fs::remove(C("WINDOWS/Start Menu/Programs"));
    fs::rename(C("WINDOWS/Start Menu"), C("WINDOWS/start menu"));
    fs::rename(C("WINDOWS"), C("windows"));
    auto host = NeuerHost();
    EXPECT_EQ(host->HostPath(host->ProgramsFolder()), C("windows/start menu/Programs"));
    EXPECT_FALSE(fs::exists(C("WINDOWS")) && !fs::equivalent(C("WINDOWS"), C("windows")));
}

TEST_F(HostTest, TakesThePrefixFromTheEnvironment) {
    // ctest runs every test in a process of its own: the changes end with it.
    setenv("KALDORIN_PREFIX", "/tmp/k-eigen", 1);
    EXPECT_EQ(PosixHost().Prefix(), "/tmp/k-eigen");
    PosixHost::Fakten fakten;
    fakten.prefix = "/tmp/k-fakt/";
    EXPECT_EQ(PosixHost(fakten).Prefix(), "/tmp/k-fakt");
    unsetenv("KALDORIN_PREFIX");
    setenv("XDG_DATA_HOME", "/tmp/xdg", 1);
    EXPECT_EQ(PosixHost().Prefix(), "/tmp/xdg/kaldorin");
    unsetenv("XDG_DATA_HOME");
    setenv("HOME", "/home/jemand", 1);
    EXPECT_EQ(PosixHost().Prefix(), "/home/jemand/.local/share/kaldorin");
}

}  // namespace
}  // namespace kaldorin::test
