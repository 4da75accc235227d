#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <tuple>

#include "runtime/ui/transcript.h"

namespace kaldorin {
namespace {

// How each kind of byte is escaped or judged is the library's; these pin how it is
// called: the whole text (a NUL inside too), UTF-8 kept as it is, broken bytes replaced.
TEST(Json, EscapesControlCharactersKeepsValidUtf8AndReplacesBrokenBytes) {
    const std::pair<std::string, std::string> faelle[] = {
        {"a\"b\\c", R"("a\"b\\c")"},
        {std::string("a\0b", 3), R"("a\u0000b")"},
        {"zurück ß €", "\"zurück ß €\""},
        {"a\xFC" "b", "\"a\uFFFD" "b\""},  // Latin-1 ü: U+FFFD
    };
    for (const auto& [roh, json] : faelle) EXPECT_EQ(JsonString(roh), json) << json;
}

// Blanks around a label are kept: TranscriptWriter's alert.
TEST(Buttons, SplitOnBarKeepingBlanks) {
    EXPECT_EQ(SplitButtons("a||b"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(SplitButtons(""), (std::vector<std::string>{""}));
}

TEST(Surface, HorizontalLinesOfOneColourMergeIntoRuns) {
    SurfaceOutput out;
    for (int y = 0; y < 6; ++y) out.AddLine(0, y, 800, y, y < 4 ? 1 : 2);
    out.AddLine(0, 7, 800, 7, 2);  // a gap starts a new run
    ASSERT_EQ(out.lines.size(), 3u);
    EXPECT_EQ((std::array{out.lines[0].count, out.lines[1].y1, out.lines[1].count, out.lines[2].y1}),
              (std::array{4, 4, 2, 7}));
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
    EXPECT_EQ(std::tuple(out.printed.at(1).Text(), out.printed.at(2).Text(), out.printed.at(2).pieces.at(1).column,
                         out.printed.at(2).pieces[0].bold),
              std::tuple("", "abü! x", 3, true));
    out.printColumn = 2;
    out.Print("Z", 8, false, 0, false);  // over an earlier piece
    EXPECT_EQ(out.printed.at(2).Text(), "aZü! x");
    out.Clear();
    EXPECT_TRUE(out.printed.empty() && out.printLine == 1);
}

// The folder, action and end lines are pinned by the tests of those who write them
// (HeadlessDialogs, HeadlessEvents, Lauf).
TEST(TranscriptWriter, WritesOneFlushedLinePerEvent) {
    std::ostringstream out;
    Transcript t(&out);
    t.Alert(19, "a|b", 2, "  installieren  |   abbrechen   ", 1);
    t.Message("", "x\ry", 16, std::nullopt);
    EXPECT_EQ(out.str(), R"({"op":"alert","style":19,"text":"a|b","default":2,"buttons":["  installieren  ","   abbrechen   "],"answer":1}
{"op":"message","title":"","text":"x\ry","style":16}
)");
    Transcript silent;
    silent.End(1);  // no stream: nothing happens
}

}  // namespace
}  // namespace kaldorin
