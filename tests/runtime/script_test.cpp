#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <optional>

#include "runtime/ui/face_start.h"
#include "runtime/ui/script.h"

namespace kaldorin {
namespace {

// A parsed line as "line action target|text|number|cancel".
std::vector<std::string> Gelesen(const char* text) {
    std::vector<std::string> aus;
    for (const ScriptLine& l : ParseScript(text))
        aus.push_back(std::to_string(l.line) + " " + std::to_string(static_cast<int>(l.action)) + " " + l.target + "|" +
                      l.text + "|" + std::to_string(l.number) + "|" + std::to_string(l.cancel));
    return aus;
}

TEST(Script, ParsesEveryActionWithItsLineNumber) {
    // Actions: 0 click, 1 close, 2 type, 3 tick, 4 answer, 5 folder, 6 dump.
    EXPECT_EQ(Gelesen("# a scenario\n"
                      "\n"
                      "click CMD_Weiter\n"
                      "  close Win_1   # through the frame\n"
                      "type TB_Dir D:\\Daten mit Blanks \n"  // the rest as it stands
                      "tick CB_Desk 0\r\n"
                      "answer 2\n"
                      "folder D:\\Neu Ordner  \n"
                      "folder\n"
                      "type TB_Von   C:\\a#b\n"  // hash and leading blanks kept
                      "type TB_Dir\n"
                      "click CMD_Zurück\n"
                      "dump"),
              (std::vector<std::string>{"3 0 CMD_Weiter||0|0", "4 1 Win_1||0|0", "5 2 TB_Dir|D:\\Daten mit Blanks |0|0",
                                        "6 3 CB_Desk||0|0", "7 4 ||2|0", "8 5 |D:\\Neu Ordner|0|0", "9 5 ||0|1",
                                        "10 2 TB_Von|  C:\\a#b|0|0", "11 2 TB_Dir||0|0", "12 0 CMD_Zurück||0|0",
                                        "13 6 ||0|0"}));
    EXPECT_EQ(Gelesen("tick CB 1\n"), std::vector<std::string>{"1 3 CB||1|0"});
}

TEST(Script, BadLinesAreRejectedNamingTheLine) {
    for (const char* text : {"click\n", "click A B\n", "close\n", "tick CB_Desk\n", "tick CB_Desk 2\n",
                             "tick CB_Desk 1 0\n", "answer\n", "answer 0\n", "answer -1\n", "answer 1x\n",
                             "answer 1 2\n", "type\n", "Click X\n" /* actions are lower case */,
                             "dump\n\nklick CMD_Weiter\n", "\n\ndump now\n"}) {
        const std::string zeile = std::string("Skriptzeile ") + (text[0] == 'd' || text[0] == '\n' ? "3" : "1");
        EXPECT_THAT([&] { ParseScript(text); }, ::testing::ThrowsMessage<ScriptError>(::testing::HasSubstr(zeile)))
            << text;
    }
}

// A face opens the script and transcript asked for; what cannot be used the setup
// program's own test refuses from the outside (missing, bad, unwritable).
TEST(Script, NothingAskedForIsFine) {
    std::optional<Script> script;
    std::ofstream transcript;
    EXPECT_TRUE(OpenScriptAndTranscript(FaceOptions{}, script, transcript));
    EXPECT_FALSE(script || transcript.is_open());
}

}  // namespace
}  // namespace kaldorin
