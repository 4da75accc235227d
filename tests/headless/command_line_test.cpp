#include <gtest/gtest.h>

#include "app/command_line.h"

namespace kaldorin {
namespace {

TEST(CommandLine, ReadsFaceFilesAndSystemFacts) {
    CommandLine line = ParseCommandLine({"--headless", "--script", "s.txt", "--transcript", "t.jsonl", "--system",
                                         "screen=800x600", "twips=12", "colours=256", "cpu=0x0480", "family=9x",
                                         "prefix=/tmp/p", "setupdir=/media/cd"});
    EXPECT_EQ(line.face, FaceChoice::Headless);
    EXPECT_EQ(line.options.script, "s.txt");
    EXPECT_EQ(line.options.transcript, "t.jsonl");
    EXPECT_EQ(line.options.screenWidth, 800);
    EXPECT_EQ(line.options.screenHeight, 600);
    EXPECT_EQ(line.options.twips, 12);
    EXPECT_EQ(line.options.colours, 256);
    EXPECT_EQ(line.system.cpu, 0x480u);
    EXPECT_EQ(line.system.nt, false);
    EXPECT_EQ(line.system.prefix, "/tmp/p");
    EXPECT_EQ(line.system.setupdir, "/media/cd");
    // Nothing given leaves everything to the machine; a later --system adds to an earlier one.
    EXPECT_EQ(ParseCommandLine({}).face, FaceChoice::Automatic);
    EXPECT_FALSE(ParseCommandLine({}).options.screenWidth || ParseCommandLine({}).system.cpu);
    EXPECT_TRUE(ParseCommandLine({"--help"}).help);
    EXPECT_EQ(ParseCommandLine({"--face", "qt"}).face, FaceChoice::Qt);
    EXPECT_EQ(ParseCommandLine({"--system", "family=nt", "--system", "twips=15"}).options.twips, 15);
}

TEST(CommandLine, TheUnattendedEntryReadsSystemFactsAsTheScriptedOneDoes) {
    CommandLine line;
    const auto rest = TakeSystemFacts({"--accept-licence", "--system", "family=9x", "cpu=0x480", "--target", "C:\\x",
                                       "--system", "prefix=/tmp/p"},
                                      line);
    EXPECT_EQ(rest, (std::vector<std::string>{"--accept-licence", "--target", "C:\\x"}));
    EXPECT_EQ(line.system.cpu, 0x480u);
    EXPECT_EQ(line.system.prefix, "/tmp/p");
    CommandLine leer;
    EXPECT_THROW(TakeSystemFacts({"--remove", "--system"}, leer), CommandLineError);
    EXPECT_THROW(TakeSystemFacts({"--system", "cpu=0x480", "farben=2"}, leer), CommandLineError);
}

TEST(CommandLine, RejectsWhatItCannotUse) {
    for (std::vector<std::string> bad : std::vector<std::vector<std::string>>{
             {"--face", "win32"}, {"--face"}, {"--script"}, {"--bogus"}, {"--system"}, {"--system", "--headless"},
             {"--system", "farben=256"}, {"--system", "screen=800"}, {"--system", "screen=800x"},
             {"--system", "screen=0x600"}, {"--system", "twips=abc"}, {"--system", "colours=1"},
             {"--system", "cpu=480"}, {"--system", "cpu=0xZZ"}, {"--system", "cpu=0x100000000"},
             {"--system", "family=nt4"}, {"--system", "prefix="}, {"--system", "screen"},
             {"--system", "cpu=0x480zz"}, {"--system", "twips=12px"}, {"--system", "screen=800x600x"},
             {"--system", "colours=256 "}}) {
        EXPECT_THROW(ParseCommandLine(bad), CommandLineError) << bad.back();
    }
}

}  // namespace
}  // namespace kaldorin
