#include <regex>

#include "host_fixture.h"
#include "runtime/host/posix/systemfakten.h"

namespace kaldorin::test {
namespace {

TEST_F(HostTest, FamilyProcessorAndBuildDate) {
    PosixHost::Fakten nt, neun, alt;
    nt.nt = true;
    neun.nt = false;
    alt.cpu = 0x0435;
    EXPECT_GE(host_->VersionWord(), 0);
    EXPECT_GE(NeuerHost(nt)->VersionWord(), 0);
    EXPECT_LT(NeuerHost(neun)->VersionWord(), 0);
    EXPECT_EQ(NeuerHost(alt)->ProcessorSignature(), 0x0435u);
    EXPECT_GE(host_->ProcessorSignature() & 0xFF0, 0x500u);  // the machine running the tests is no 486
    EXPECT_TRUE(std::regex_match(host_->BuildText(), std::regex("[0-9]{4}-[0-9]{2}-[0-9]{2}"))) << host_->BuildText();
    EXPECT_EQ(posix::DatumAusCompiler("Dec  6 2026"), "2026-12-06");
    EXPECT_EQ(posix::DatumAusCompiler("Jan 31 2025"), "2025-01-31");
    EXPECT_EQ(posix::DatumAusCompiler("Foo  6 2026"), "");
    EXPECT_EQ(posix::DatumAusCompiler("Dec"), "");
}

TEST_F(HostTest, ProgramFolder) {
    PosixHost::Fakten setup;
    setup.setupdir = C("Medium") + "/";
    EXPECT_EQ(NeuerHost(setup)->ProgramFolder(), "C:\\Medium");
    // By default the folder of the running program: this test's own.
    EXPECT_EQ(host_->HostPath(host_->ProgramFolder()), fs::canonical(KALDORIN_BIN_DIR).string());
}

}  // namespace
}  // namespace kaldorin::test
