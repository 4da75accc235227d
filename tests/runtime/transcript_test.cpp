#include <gtest/gtest.h>

#include <sstream>

#include "runtime/ui/transcript.h"

namespace kaldorin {
namespace {

TEST(Json, EscapesControlCharactersQuotesAndBackslashes) {
    EXPECT_EQ(JsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
    EXPECT_EQ(JsonString("x\r\ny\tz"), "\"x\\r\\ny\\tz\"");
    EXPECT_EQ(JsonString(std::string("\x01\x1f\b\f", 4)), "\"\\u0001\\u001f\\b\\f\"");
    EXPECT_EQ(JsonString(std::string("a\0b", 3)), "\"a\\u0000b\"");
    EXPECT_EQ(JsonString("C:\\Programme\\KALDORIN"), "\"C:\\\\Programme\\\\KALDORIN\"");
}

TEST(Json, KeepsValidUtf8AndReplacesBrokenBytes) {
    EXPECT_EQ(JsonString("zurück ß €"), "\"zurück ß €\"");
    EXPECT_EQ(JsonString("\xF0\x9F\x9A\x82"), "\"\xF0\x9F\x9A\x82\"");   // four bytes
    EXPECT_EQ(JsonString("a\xFC" "b"), "\"a\\ufffdb\"");                // Latin-1 ü
    EXPECT_EQ(JsonString("\xC3"), "\"\\ufffd\"");                      // cut short
    EXPECT_EQ(JsonString("\xC0\xAF"), "\"\\ufffd\\ufffd\"");           // overlong
    EXPECT_EQ(JsonString("\xED\xA0\x80"), "\"\\ufffd\\ufffd\\ufffd\""); // surrogate
}

TEST(Json, ObjectsKeepFieldOrder) {
    JsonObject o;
    o.Add("op", "x").Add("n", 3).Add("b", false).AddNull("z").AddRaw("a", JsonArray({"1", "\"t\""}));
    EXPECT_EQ(o.Text(), R"({"op":"x","n":3,"b":false,"z":null,"a":[1,"t"]})");
    EXPECT_EQ(JsonObject().Text(), "{}");
}

TEST(Buttons, SplitOnBarKeepingBlanks) {
    EXPECT_EQ(SplitButtons(" weiter | abbrechen "), (std::vector<std::string>{" weiter ", " abbrechen "}));
    EXPECT_EQ(SplitButtons("a||b"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitButtons(""), (std::vector<std::string>{""}));
}

TEST(Surface, HorizontalLinesOfOneColourMergeIntoRuns) {
    SurfaceOutput out;
    for (int y = 0; y < 6; ++y) out.AddLine(0, y, 800, y, y < 4 ? 1 : 2);
    out.AddLine(0, 7, 800, 7, 2);  // a gap starts a new run
    ASSERT_EQ(out.lines.size(), 3u);
    EXPECT_EQ(out.lines[0].count, 4);
    EXPECT_EQ(out.lines[1].y1, 4);
    EXPECT_EQ(out.lines[1].count, 2);
    EXPECT_EQ(out.lines[2].y1, 7);
}

TEST(Surface, PrintingPlacesPiecesByLineAndColumn) {
    SurfaceOutput out;
    out.Print("", 8, false, 0, true);  // an empty line 1
    out.Print("ab", 10, true, 255, false);
    out.Print("ü!", 10, false, 0, true);
    out.printLine = 2;
    out.printColumn = 6;
    out.Print("x", 8, false, 0, false);
    ASSERT_EQ(out.printed.size(), 2u);
    EXPECT_EQ(out.printed.at(1).Text(), "");
    EXPECT_EQ(out.printed.at(2).Text(), "abü! x");
    EXPECT_EQ(out.printed.at(2).pieces[1].column, 3);
    EXPECT_TRUE(out.printed.at(2).pieces[0].bold);
    out.printColumn = 2;
    out.Print("Z", 8, false, 0, false);  // over an earlier piece
    EXPECT_EQ(out.printed.at(2).Text(), "aZü! x");
    out.Clear();
    EXPECT_TRUE(out.printed.empty());
    EXPECT_EQ(out.printLine, 1);
}

TEST(TranscriptWriter, WritesOneFlushedLinePerEvent) {
    std::ostringstream out;
    Transcript t(&out);
    t.Alert(19, "a|b", 2, "  installieren  |   abbrechen   ", 1);
    t.Message("", "x\ry", 16, std::nullopt);
    t.Folder("T", "C:\\", "C:\\", std::string("D:\\Daten\\"), false);
    t.Folder("T", "C:\\", "", std::nullopt, true);
    t.Click("CMD_Weiter", "not available");
    t.End(0);
    EXPECT_EQ(out.str(),
              R"({"op":"alert","style":19,"text":"a|b","default":2,"buttons":["  installieren  ","   abbrechen   "],"answer":1})"
              "\n"
              R"({"op":"message","title":"","text":"x\ry","style":16})"
              "\n"
              R"({"op":"folder","title":"T","start":"C:\\","opens":"C:\\","answer":"D:\\Daten\\"})"
              "\n"
              R"({"op":"folder","title":"T","start":"C:\\","opens":"","cancelled":true})"
              "\n"
              R"({"op":"click","control":"CMD_Weiter","ignored":"not available"})"
              "\n"
              R"({"op":"end","code":0})"
              "\n");
    Transcript silent;
    silent.End(1);  // no stream: nothing happens
}

}  // namespace
}  // namespace kaldorin
