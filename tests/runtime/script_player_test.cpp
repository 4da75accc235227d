// The face-independent rules of playing a script: targets, reachability, the answers
// to dialogs and handler nesting.

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <tuple>

#include "runtime/ui/script_player.h"
#include "tests/headless/fake_host.h"

namespace kaldorin::test {
namespace {

ScriptLine Zeile(const std::string& text) { return ParseScript(text).at(0); }

TEST(Ziel, EachActionNamesWhatItNeeds) {
    const ScriptTarget keins, fenster{true, true, Art{}}, knopf{true, false, Art::Button},
        feld{true, false, Art::TextBox}, kasten{true, false, Art::CheckBox};
    const std::tuple<const char*, ScriptTarget, const char*> faelle[] = {
        {"click CMD_X", keins, "no control named CMD_X"}, {"click FRM", fenster, "FRM is a window; use close"},
        {"click CMD_X", knopf, ""},                        {"close FRM", keins, "no window named FRM"},
        {"close CMD_X", knopf, "CMD_X is not a window"},   {"close FRM", fenster, ""},
        {"type TXT abc", knopf, "no text box named TXT"},  {"type TXT abc", feld, ""},
        {"tick CB 1", feld, "no check box named CB"},      {"tick CB 0", kasten, ""}};
    for (const auto& [zeile, ziel, fehler] : faelle) EXPECT_EQ(TargetFault(Zeile(zeile), ziel), fehler) << zeile;
}

TEST(Erreichbar, ClosedBeforeGreyedOutBeforeOutOfView) {
    EXPECT_EQ(WhyNotReachable(false, false, {}), "window closed");
    EXPECT_EQ(WhyNotReachable(true, false, {-2000, 0, 10, 10, 100, 100}), "not available");
    // Parked far left or up, however large; wholly outside the window on any side;
    // touching the edge from inside is enough.
    const std::pair<Placement, const char*> faelle[] = {
        {{10, 10, 20, 20, 100, 100}, ""},           {{-1000, 0, 5000, 10, 100, 100}, "out of view"},
        {{0, -1000, 10, 5000, 100, 100}, "out of view"}, {{-10, 0, 10, 10, 100, 100}, "out of view"},
        {{-10, 0, 11, 10, 100, 100}, ""},           {{100, 0, 10, 10, 100, 100}, "out of view"},
        {{99, 99, 10, 10, 100, 100}, ""},           {{0, 100, 10, 10, 100, 100}, "out of view"},
        {{0, -10, 10, 10, 100, 100}, "out of view"}};
    for (const auto& [ort, grund] : faelle) EXPECT_EQ(WhyNotReachable(true, true, ort), grund) << ort.x << "," << ort.y;
}

// A folder answer: host and Windows paths end in one backslash, unusable paths say why.
// The dialog opens at the start or the nearest folder above it that exists.
TEST(Ordner, AnswersEndInOneBackslashAndTheDialogOpensAtTheNearestFolder) {
    FakeHost host;
    std::string grund;
    EXPECT_EQ(FolderAnswer(host, Zeile("folder /tmp/ziel"), grund), "Z:\\tmp\\ziel\\");
    EXPECT_EQ(FolderAnswer(host, Zeile("folder D:\\Daten\\\\"), grund), "D:\\Daten\\");
    EXPECT_EQ(FolderAnswer(host, Zeile("folder c:"), grund), "c:\\");
    EXPECT_EQ(FolderAnswer(host, Zeile("folder \\\\server\\teil"), grund), "\\\\server\\teil\\");
    EXPECT_FALSE(FolderAnswer(host, Zeile("folder /bad/pfad"), grund));
    EXPECT_NE(grund.find("the host cannot name this path: Pfad nicht darstellbar"), std::string::npos);
    grund.clear();
    EXPECT_FALSE(FolderAnswer(host, Zeile("folder relativ\\pfad"), grund));
    EXPECT_NE(grund.find("expected a Windows path"), std::string::npos);
    EXPECT_FALSE(FolderAnswer(host, Zeile("folder 1:\\x"), grund));
    host.folders = {"C:", "C:\\Programme", "D:\\Daten\\Alt"};
    EXPECT_EQ(FolderDialogStart(host, "C:\\Programme\\"), "C:\\Programme") << "one backslash dropped";
    EXPECT_EQ(FolderDialogStart(host, "C:\\Programme\\KALDORIN"), "C:\\Programme") << "not made yet";
    // A drive's root found on the way up opens as "C:\": HeadlessDialogs.
    EXPECT_EQ(FolderDialogStart(host, "E:\\X"), "") << "nothing exists: the dialog's own default";
    EXPECT_EQ(FolderDialogStart(host, ""), "");
}

// Playing the lines that answer dialogs, into one transcript.
struct Spieler : ::testing::Test {
    std::ostringstream out;
    Transcript transcript{&out};
    RunControl run{transcript};
    FakeHost host;

    // The code the run stops with when `schritt` stops it; 0 when it does not.
    int Stopp(const std::function<void()>& schritt) {
        try {
            schritt();
        } catch (const RunControl::Stop& s) {
            return s.code;
        }
        return 0;
    }
};

// Each dialog takes only the answers it can use: an alert a button it has (one it has not:
// HeadlessEvents), a message only answer 1, a folder dialog a folder line with a usable
// path (answered and cancelled through a face: HeadlessDialogs). Without a line each
// stops with 3.
TEST_F(Spieler, EachDialogTakesOnlyTheAnswersItCanUseAndStopsWithoutALine) {
    EXPECT_EQ(AnswerAlert(run, transcript, Zeile("answer 2"), 48, "Frage", 1, "Ja|Nein", 2), 2);
    EXPECT_NE(out.str().find("\"answer\":2"), std::string::npos);
    out.str("");
    EXPECT_EQ(Stopp([&] { AnswerAlert(run, transcript, std::nullopt, 48, "Frage", 1, "Ja|Nein", 2); }), 3);
    // The alert is still written, without an answer.
    EXPECT_NE(out.str().find("\"op\":\"alert\""), std::string::npos);
    EXPECT_EQ(out.str().find("\"answer\""), std::string::npos);

    EXPECT_EQ(Stopp([&] { AnswerMessage(run, transcript, Zeile("answer 1"), "T", "Text", 64); }), 0);
    EXPECT_EQ(Stopp([&] { AnswerMessage(run, transcript, Zeile("answer 2"), "T", "Text", 64); }), 2);
    EXPECT_EQ(Stopp([&] { AnswerMessage(run, transcript, Zeile("click CMD_X"), "T", "Text", 64); }), 2);
    EXPECT_EQ(Stopp([&] { AnswerMessage(run, transcript, std::nullopt, "T", "Text", 64); }), 3);

    EXPECT_EQ(Stopp([&] { AnswerFolder(run, transcript, host, Zeile("answer 1"), "Ordner", ""); }), 2);
    EXPECT_EQ(Stopp([&] { AnswerFolder(run, transcript, host, Zeile("folder /bad"), "Ordner", ""); }), 2);
    EXPECT_EQ(Stopp([&] { AnswerFolder(run, transcript, host, std::nullopt, "Ordner", ""); }), 3);
}

TEST(Handler, NestingIsCountedAndRestoredWhenAHandlerThrows) {
    int tiefe = 0;
    int gesehen = -1;
    HandlerTable handler;
    handler["A_Click"] = [&] { gesehen = tiefe; };
    handler["B_Click"] = [] { throw std::runtime_error("kaputt"); };
    handler["C_Click"] = nullptr;
    CallHandler(handler, "A_Click", tiefe);
    EXPECT_EQ(gesehen, 1);
    EXPECT_THROW(CallHandler(handler, "B_Click", tiefe), std::runtime_error);
    EXPECT_EQ(tiefe, 0);
    // Events without a handler, or with an empty one, are dropped.
    EXPECT_NO_THROW(CallHandler(handler, "C_Click", tiefe));
    EXPECT_NO_THROW(CallHandler(handler, "D_Click", tiefe));
}

}  // namespace
}  // namespace kaldorin::test
