#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <tuple>

#include "app/command_line.h"
#include "tests/dateien.h"

namespace kaldorin {
namespace {

CommandLine Posix(const std::vector<std::string>& arguments) { return ParseCommandLine(arguments, Plattform::Posix); }

TEST(CommandLine, ReadsFaceFilesAndSystemFacts) {
    CommandLine line = Posix({"--headless", "--script", "s.txt", "--transcript", "t.jsonl", "--system",
                              "screen=800x600", "twips=12", "colours=256", "cpu=0x0480", "family=9x",
                              "prefix=/tmp/p", "setupdir=/media/cd"});
    const auto& o = line.options;
    EXPECT_EQ(std::tuple(line.face, o.script, o.transcript, o.screenWidth, o.screenHeight, o.twips, o.colours),
              std::tuple(FaceChoice::Headless, "s.txt", "t.jsonl", 800, 600, 12, 256));
    EXPECT_EQ(std::tuple(line.system.cpu, line.system.nt, line.system.prefix, line.system.setupdir),
              std::tuple(0x480u, false, "/tmp/p", "/media/cd"));
    // Nothing given leaves everything to the machine. (A later --system adds to an earlier
    // one: UnattendedRunsAreReadByTheSameParser.)
    EXPECT_EQ(Posix({}).face, FaceChoice::Automatic);
    EXPECT_FALSE(Posix({}).options.screenWidth || Posix({}).system.cpu || Posix({}).unattended);
    EXPECT_TRUE(Posix({"--help"}).help);
    EXPECT_EQ(Posix({"--face", "qt"}).face, FaceChoice::Qt);
    // The Windows build has its own face and --hold.
    const CommandLine windows = ParseCommandLine({"--face", "win32", "--hold", "30"}, Plattform::Windows);
    EXPECT_EQ(windows.face, FaceChoice::Win32);
    EXPECT_EQ(windows.hold, 30);
}

TEST(CommandLine, UnattendedRunsAreReadByTheSameParser) {
    const CommandLine line = Posix({"--accept-licence", "--unattended", "--system", "family=9x", "cpu=0x480",
                                    "--target", "C:\\x", "--no-desktop", "--transcript", "t.jsonl", "--system",
                                    "prefix=/tmp/p"});
    const Unbeaufsichtigt& a = line.auftrag;
    EXPECT_EQ(std::tuple(line.unattended, a.akzeptiert, a.ziel, a.desktop, a.startmenue, line.options.transcript),
              std::tuple(true, true, "C:\\x", false, true, "t.jsonl"));
    EXPECT_EQ(std::tuple(line.system.cpu, line.system.prefix), std::tuple(0x480u, "/tmp/p"));
    EXPECT_EQ(Posix({"--unattended", "--remove", "--remove-data", "sound,bilder"}).auftrag.datenliste,
              "sound,bilder");
}

TEST(CommandLine, RejectsWhatItCannotUseInGerman) {
    for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
             {"--face", "win32"}, {"--face"}, {"--bogus"}, {"--system"}, {"--system", "--headless"},
             {"--system", "farben=256"}, {"--system", "screen=800"}, {"--system", "screen=800x"},
             {"--system", "screen=0x600"}, {"--system", "twips=abc"}, {"--system", "colours=1"},
             {"--system", "cpu=480"}, {"--system", "cpu=0xZZ"}, {"--system", "cpu=0x100000000"},
             {"--system", "family=nt4"}, {"--system", "prefix="}, {"--system", "screen"},
             {"--system", "cpu=0x480zz"}, {"--system", "twips=12px"}, {"--system", "screen=800x600x"},
             {"--system", "colours=256 "}, {"--hold", "5"}, {"--script", ""},
             // Each mode takes only its own options.
             {"--target", "C:\\x"}, {"--unattended", "--script", "s.txt"}}) {
        EXPECT_THROW(Posix(bad), CommandLineError) << bad.back();
    }
    for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
             {"--face", "qt"}, {"--hold", "3601"}, {"--hold", "-1"}, {"--hold", "5s"}}) {
        EXPECT_THROW(ParseCommandLine(bad, Plattform::Windows), CommandLineError) << bad.back();
    }
    using ::testing::StrEq, ::testing::ThrowsMessage;
    EXPECT_THAT([] { Posix({"--hold", "5"}); },
                ThrowsMessage<CommandLineError>(StrEq("--hold gibt es nur in der Windows-Ausgabe.")));
    EXPECT_THAT([] { Posix({"--unattended", "--gibts-nicht"}); },
                ThrowsMessage<CommandLineError>(StrEq("Unbekannte Angabe: --gibts-nicht")));
}

// The usage text lists each option of a build once, and the README names each: an
// option added to the table and forgotten there fails here.
TEST(CommandLine, UsageAndReadmeNameEveryOptionOnce) {
    const std::string readme = test::Lies(KALDORIN_SOURCE_DIR "/README.md");
    for (const Plattform plattform : {Plattform::Posix, Plattform::Windows}) {
        const std::string usage = Usage(plattform);
        for (const std::string& name : OptionNames(plattform)) {
            const std::string zeile = "\n  " + name + " ";
            const auto erste = usage.find(zeile);
            EXPECT_NE(erste, std::string::npos) << name;
            EXPECT_EQ(usage.find(zeile, erste + 1), std::string::npos) << name << " twice";
            EXPECT_NE(readme.find(name), std::string::npos) << name << " is missing in README.md";
        }
    }
    // (An option of the other build shows in the usage text as a name listed twice, and
    // the parser refuses it: RejectsWhatItCannotUseInGerman.)
    EXPECT_NE(Usage(Plattform::Windows).find(" /wait "), std::string::npos);
}

}  // namespace
}  // namespace kaldorin
