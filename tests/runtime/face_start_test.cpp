// The script and transcript a face needs before it opens a window; and an
// unattended run that cannot write its transcript.

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "runtime/ui/face_start.h"

namespace fs = std::filesystem;

namespace kaldorin::test {
namespace {

struct Start : ::testing::Test {
    fs::path ordner = fs::temp_directory_path() /
                      ("kaldorin-start-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    void SetUp() override { fs::create_directories(ordner); }
    void TearDown() override { fs::remove_all(ordner); }
};

TEST_F(Start, NothingAskedForIsFine) {
    std::optional<Script> script;
    std::ofstream transcript;
    EXPECT_TRUE(OpenScriptAndTranscript(FaceOptions{}, script, transcript));
    EXPECT_FALSE(script);
    EXPECT_FALSE(transcript.is_open());
}

TEST_F(Start, BothAreOpened) {
    std::ofstream(ordner / "s.txt") << "click CMD_Weiter\n";
    FaceOptions o;
    o.script = (ordner / "s.txt").string();
    o.transcript = (ordner / "t.jsonl").string();
    std::optional<Script> script;
    std::ofstream transcript;
    ASSERT_TRUE(OpenScriptAndTranscript(o, script, transcript));
    ASSERT_TRUE(script);
    EXPECT_EQ(script->Remaining(), 1u);
    EXPECT_TRUE(transcript.is_open());
}

TEST_F(Start, AMissingOrBadScriptIsRefused) {
    FaceOptions o;
    o.script = (ordner / "fehlt.txt").string();
    std::optional<Script> script;
    std::ofstream transcript;
    EXPECT_FALSE(OpenScriptAndTranscript(o, script, transcript));
    std::ofstream(ordner / "kaputt.txt") << "hüpfen CMD_Weiter\n";
    o.script = (ordner / "kaputt.txt").string();
    EXPECT_FALSE(OpenScriptAndTranscript(o, script, transcript));
}

TEST_F(Start, ATranscriptThatCannotBeWrittenIsRefused) {
    FaceOptions o;
    o.transcript = (ordner / "gibt-es-nicht" / "t.jsonl").string();
    std::optional<Script> script;
    std::ofstream transcript;
    EXPECT_FALSE(OpenScriptAndTranscript(o, script, transcript));
}

// Runs the built setup program; returns its exit code.
int Aufrufen(const std::string& argumente, const fs::path& ordner) {
    const std::string befehl = "KALDORIN_PREFIX='" + (ordner / "prefix").string() + "' '" KALDORIN_BIN_DIR
                               "/kaldorin-setup' " + argumente + " >'" + (ordner / "ausgabe.txt").string() +
                               "' 2>&1";
    const int status = std::system(befehl.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(Start, AnUnattendedRunDoesNotGoOnWithoutItsTranscript) {
    const fs::path transcript = ordner / "gibt-es-nicht" / "t.jsonl";
    EXPECT_EQ(Aufrufen("--unattended --remove --transcript '" + transcript.string() + "'", ordner), 2);
    std::ifstream ausgabe(ordner / "ausgabe.txt");
    const std::string text((std::istreambuf_iterator<char>(ausgabe)), {});
    EXPECT_NE(text.find("cannot write the transcript"), std::string::npos);
    EXPECT_EQ(text.find("nichts wurde entfernt"), std::string::npos);
}

TEST_F(Start, TheHeadlessFaceRefusesAnUnwritableTranscript) {
    std::ofstream(ordner / "s.txt") << "click CMD_Weiter\n";
    EXPECT_EQ(Aufrufen("--headless --script '" + (ordner / "s.txt").string() + "' --transcript '" +
                           (ordner / "nein" / "t").string() + "'",
                       ordner),
              2);
}

}  // namespace
}  // namespace kaldorin::test
