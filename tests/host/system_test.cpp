#include <cctype>

#include "host_fixture.h"
#include "runtime/host/posix/systemfakten.h"

namespace kaldorin::test {
namespace {

TEST_F(HostTest, VersionWordTellsTheFamily) {
    EXPECT_GE(host_->VersionWord(), 0);
    PosixHost::Fakten nt;
    nt.nt = true;
    EXPECT_GE(NeuerHost(nt)->VersionWord(), 0);
    PosixHost::Fakten neun;
    neun.nt = false;
    EXPECT_LT(NeuerHost(neun)->VersionWord(), 0);
}

TEST_F(HostTest, ProcessorSignature) {
    PosixHost::Fakten alt;
    alt.cpu = 0x0435;
    EXPECT_EQ(NeuerHost(alt)->ProcessorSignature(), 0x0435u);
    // The machine running the tests is no 486.
    EXPECT_GE(host_->ProcessorSignature() & 0xFF0, 0x500u);
}

TEST_F(HostTest, BuildTextIsADate) {
    const std::string text = host_->BuildText();
    ASSERT_EQ(text.size(), 10u) << text;
    for (std::size_t i = 0; i < text.size(); ++i) {
        EXPECT_TRUE(i == 4 || i == 7 ? text[i] == '-' : std::isdigit(static_cast<unsigned char>(text[i])))
            << text;
    }
    EXPECT_EQ(posix::DatumAusCompiler("Dec  6 2026"), "2026-12-06");
    EXPECT_EQ(posix::DatumAusCompiler("Jan 31 2025"), "2025-01-31");
    EXPECT_EQ(posix::DatumAusCompiler("Foo  6 2026"), "");
    EXPECT_EQ(posix::DatumAusCompiler("Dec"), "");
}

TEST_F(HostTest, ProgramFolder) {
    PosixHost::Fakten setup;
    setup.setupdir = C("Medium") + "/";
    EXPECT_EQ(NeuerHost(setup)->ProgramFolder(), "C:\\Medium");
    setup.setupdir = "/media/cdrom";
    EXPECT_EQ(NeuerHost(setup)->ProgramFolder(), "Z:\\media\\cdrom");
    // By default the folder of the running program: this test's own.
    EXPECT_EQ(host_->HostPath(host_->ProgramFolder()), fs::canonical(KALDORIN_BIN_DIR).string());
}

}  // namespace
}  // namespace kaldorin::test
