#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "runtime/ui/script.h"

namespace kaldorin {
namespace {

TEST(Script, ParsesEveryActionWithItsLineNumber) {
    auto lines = ParseScript(
        "# a scenario\n"
        "\n"
        "click CMD_Weiter\n"
        "  close Win_1   # through the frame\n"
        "type TB_Dir D:\\Daten mit Blanks \n"
        "tick CB_Desk 0\r\n"
        "answer 2\n"
        "folder D:\\Neu Ordner  \n"
        "folder\n"
        "dump");
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[0].action, ScriptAction::Click);
    EXPECT_EQ(lines[0].target, "CMD_Weiter");
    EXPECT_EQ(lines[0].line, 3);
    EXPECT_EQ(lines[1].action, ScriptAction::Close);
    EXPECT_EQ(lines[1].target, "Win_1");
    EXPECT_EQ(lines[2].text, "D:\\Daten mit Blanks ");  // the rest as it stands
    EXPECT_EQ(lines[3].number, 0);
    EXPECT_EQ(lines[3].line, 6);
    EXPECT_EQ(lines[4].number, 2);
    EXPECT_EQ(lines[5].text, "D:\\Neu Ordner");
    EXPECT_FALSE(lines[5].cancel);
    EXPECT_TRUE(lines[6].cancel);
    EXPECT_EQ(lines[7].action, ScriptAction::Dump);
    EXPECT_EQ(lines[7].line, 10);
}

TEST(Script, TypeKeepsHashAndLeadingBlanksAndMayBeEmpty) {
    auto lines = ParseScript("type TB_Von   C:\\a#b\ntype TB_Dir\nclick CMD_Zurück\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "  C:\\a#b");
    EXPECT_EQ(lines[1].text, "");
    EXPECT_EQ(lines[2].target, "CMD_Zurück");  // umlauts pass through
}

TEST(Script, EmptyScriptHasNoLines) {
    EXPECT_TRUE(ParseScript("").empty());
    EXPECT_TRUE(ParseScript("\n\n# nothing\n").empty());
}

void ExpectError(const char* text, const char* lineMark) {
    try {
        ParseScript(text);
        ADD_FAILURE() << "no error for: " << text;
    } catch (const ScriptError& e) {
        EXPECT_NE(std::string(e.what()).find(lineMark), std::string::npos) << e.what();
    }
}

TEST(Script, BadLinesAreRejectedNamingTheLine) {
    ExpectError("dump\nklick CMD_Weiter\n", "line 2");
    ExpectError("click\n", "line 1");
    ExpectError("click A B\n", "line 1");
    ExpectError("close\n", "line 1");
    ExpectError("tick CB_Desk\n", "line 1");
    ExpectError("tick CB_Desk 2\n", "line 1");
    ExpectError("tick CB_Desk 1 0\n", "line 1");
    ExpectError("answer\n", "line 1");
    ExpectError("answer 0\n", "line 1");
    ExpectError("answer -1\n", "line 1");
    ExpectError("answer 1x\n", "line 1");
    ExpectError("answer 1 2\n", "line 1");
    ExpectError("\n\ndump now\n", "line 3");
    ExpectError("type\n", "line 1");
    ExpectError("Click X\n", "line 1");  // actions are lower case
}

TEST(Script, TakesLinesInOrder) {
    Script script(ParseScript("click A\nclick B\n"));
    EXPECT_EQ(script.Remaining(), 2u);
    EXPECT_EQ(script.Take().target, "A");
    EXPECT_EQ(script.Take().target, "B");
    EXPECT_TRUE(script.Empty());
}

TEST(Script, FromFileReadsAndFailsClearly) {
    std::string path = std::string(KALDORIN_BIN_DIR) + "/runtime_script_test.txt";
    {
        std::ofstream out(path);
        out << "click A\nanswer 1\n";
    }
    EXPECT_EQ(Script::FromFile(path).Remaining(), 2u);
    std::remove(path.c_str());
    EXPECT_THROW(Script::FromFile(path), ScriptError);
}

}  // namespace
}  // namespace kaldorin
