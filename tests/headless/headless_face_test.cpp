#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <sstream>

#include "runtime/ui/headless/headless_face.h"
#include "tests/headless/fake_host.h"

namespace kaldorin {
namespace {

// One run of the headless face over a script, with its transcript in memory.
struct Lauf {
    explicit Lauf(std::string_view script, FaceOptions options = {})
        : face(options, host, Script(ParseScript(script)), &out) {}

    bool Has(std::string_view piece) const { return out.str().find(piece) != std::string::npos; }

    test::FakeHost host;
    std::ostringstream out;
    HeadlessFace face;
};

// A licence-like window with four buttons, a text area and a picture.
struct Licence {
    explicit Licence(Face& ui) {
        win1 = ui.OpenWindow(1, ui.ScreenWidth(), ui.ScreenHeight(), 0);
        win3 = ui.OpenWindow(3, 500, 400, win1);
        back = ui.CreateControl(win3, Art::Button, "cbo_Zurück", "< Zurück", 70, 330, 80, 24);
        next = ui.CreateControl(win3, Art::Button, "cbo_Weiter", "Weiter >", 150, 330, 80, 24);
        area = ui.CreateControl(win3, Art::TextArea, "tb1", "", 10, 70, 474, 252);
        picture = ui.CreateControl(win3, Art::Picture, "bld", "", 20, 10, 32, 32);
        ui.SetAvailable(back, false);
    }
    Handle win1, win3, back, next, area, picture;
};

// Runs the licence-like window until the script says otherwise, counting the events
// its handlers receive.
int Loop(Lauf& run, const std::function<void(Licence&)>& setup, int& events) {
    return run.face.Run([&] {
        Licence l(run.face);
        setup(l);
        HandlerTable table;
        for (const char* name : {"cbo_Zurück_Click", "cbo_Weiter_Click", "bld_Click", "Win_1_Close"})
            table[name] = [&events] { ++events; };
        run.face.BindHandlers(table);
        for (;;) run.face.EventStep();
    });
}

// Which target fits which action is the shared player's (Ziel.*); here only that the
// face asks it, and counts an alert's buttons: a line that does not fit ends the run with 2.
TEST(HeadlessEvents, ClicksReachOnlyUsableControlsOfOpenWindowsAndLinesThatDoNotFitEndTheRun) {
    struct Fall { const char* script; std::function<void(Face&, Licence&)> vorher; std::string zeile; int klicks, code; };
    const std::string fehler = R"({"op":"error","line":1,)";
    const Fall faelle[] = {
        {"click cbo_Weiter\n", {}, R"({"op":"click","control":"cbo_Weiter"})", 1, 3},
        {"click cbo_Zurück\n", {}, R"({"op":"click","control":"cbo_Zurück","ignored":"not available"})", 0, 3},
        {"click bld\n", [](Face& f, Licence& l) { f.Move(l.picture, 1000, 1000); },
         R"({"op":"click","control":"bld","ignored":"out of view"})", 0, 3},
        {"click cbo_Weiter\n", [](Face& f, Licence& l) { f.CloseWindow(l.win3); },
         R"({"op":"click","control":"cbo_Weiter","ignored":"window closed"})", 0, 3},
        {"close Win_1\n", {}, R"({"op":"close","window":"Win_1"})", 1, 3},
        {"close Win_3\n", [](Face& f, Licence& l) { f.CloseWindow(l.win3); },
         R"({"op":"close","window":"Win_3","ignored":"window closed"})", 0, 3},
        {"click Nirgends\n", {}, fehler, 0, 2},
        {"answer 1\n", {}, fehler, 0, 2},
        {"type cbo_Weiter x\n", {}, fehler, 0, 2},
        {"answer 3\n", [](Face& f, Licence&) { f.Alert(19, "t", 2, "a|b"); }, fehler, 0, 2},
    };
    for (const Fall& fall : faelle) {
        Lauf run(fall.script);
        int events = 0;
        EXPECT_EQ(Loop(run, [&](Licence& l) { if (fall.vorher) fall.vorher(run.face, l); }, events), fall.code)
            << fall.script;
        EXPECT_EQ(events, fall.klicks) << fall.script;
        EXPECT_TRUE(run.Has(fall.zeile)) << run.out.str();
    }
}

// A program that swallows the stop of a faulty line meets it again at its next step:
// no later line is played and the run ends with the stop's code.
TEST(HeadlessEvents, ASwallowedStopComesAgainAndNoLaterLineIsPlayed) {
    Lauf run("click Nirgends\nclick cbo_Weiter\n");
    int events = 0;
    const int code = run.face.Run([&] {
        Licence l(run.face);
        run.face.BindHandlers({{"cbo_Weiter_Click", [&events] { ++events; }}});
        try {
            run.face.EventStep();
        } catch (...) {
        }
        run.face.EventStep();
        ADD_FAILURE() << "EventStep returned after the stop";
    });
    EXPECT_EQ(code, 2);
    EXPECT_EQ(events, 0);
    EXPECT_FALSE(run.Has(R"("control":"cbo_Weiter")")) << run.out.str();
}

TEST(HeadlessEvents, TypeAndTickChangeOnlyUsableControls) {
    Lauf run("type TB_Von X\ntick CB_Start 0\n");
    Handle von = 0, start = 0;
    run.face.Run([&] {
        Handle w = run.face.OpenWindow(1, 400, 300, 0);
        von = run.face.CreateControl(w, Art::TextBox, "TB_Von", "Q", -1000, -1000, 180, 20);
        start = run.face.CreateControl(w, Art::CheckBox, "CB_Start", "", 10, 60, 200, 18);
        run.face.SetTicked(start, true);
        run.face.SetAvailable(start, false);
        for (;;) run.face.EventStep();
    });
    EXPECT_EQ(run.face.Control(von).text, "Q");
    EXPECT_TRUE(run.face.Control(start).ticked);
    EXPECT_TRUE(run.Has(R"({"op":"type","control":"TB_Von","text":"X","ignored":"out of view"})"));
    EXPECT_TRUE(run.Has(R"({"op":"tick","control":"CB_Start","ticked":false,"ignored":"not available"})"));
}

// --- Modal dialogs ---------------------------------------------------------------------

TEST(HeadlessDialogs, FolderAnswersEndInOneBackslashAndTheDialogOpensWhereEveryFaceDoes) {
    Lauf run("folder D:\\Daten\nfolder\n");
    run.host.folders = {"C:"};
    std::vector<std::string> answers;
    run.face.Run([&] {
        for (int i = 0; i < 2; ++i) answers.push_back(run.face.BrowseForFolder(0, 1, "Ordner", "C:\\Programme"));
    });
    EXPECT_EQ(answers, (std::vector<std::string>{"D:\\Daten\\", ""}));
    EXPECT_TRUE(run.Has(
        R"({"op":"folder","title":"Ordner","start":"C:\\Programme","opens":"C:\\","answer":"D:\\Daten\\"})"));
    EXPECT_TRUE(run.Has(R"("cancelled":true)"));
}

// --- The model ------------------------------------------------------------------------

TEST(HeadlessModel, LoadFormBuildsTheStoredControlsOnce) {
    // Where the stored controls stand and what they say, the program's tests read.
    Lauf run("");
    const Handle form = run.face.LoadForm(":{FRM_Installation");
    EXPECT_EQ(run.face.FindControl("FRM_Installation"), form);
    EXPECT_THROW(run.face.LoadForm(":{FRM_Installation"), Laufzeitfehler);  // already loaded
    EXPECT_THROW(run.face.LoadForm(":gibtsnicht"), Laufzeitfehler);
}

// The misuse checks and the element table live in the face core; the rules of every
// face (tests/face_regeln.h) check them on the Qt face natively. Here what those do not
// ask. (The headless face keeps a window open when its owner closes: it has no toolkit
// to take it along, so face_regeln.h is not run on it.)
TEST(HeadlessModel, RefusesOtherKindsAndMakesAReopenedWindowAnew) {
    Lauf run("");
    Licence l(run.face);
    for (const auto& falsch : std::vector<std::function<void()>>{
             [&] { run.face.SetPicture(l.area, ":vork2"); }, [&] { run.face.SetIcon(l.next, ":vork2"); },
             [&] { run.face.SetProgress(l.next, 1); }, [&] { run.face.Text(12345); }})
        EXPECT_THROW(falsch(), Laufzeitfehler);
    run.face.CloseWindow(l.win3);
    EXPECT_THROW(run.face.SetText(l.next, "x"), Laufzeitfehler);
    const Handle again = run.face.OpenWindow(3, 500, 400, l.win1);
    EXPECT_NE(again, l.win3);
    EXPECT_NO_THROW(run.face.CreateControl(again, Art::Button, "cbo_Weiter", "Weiter >", 150, 330, 80, 24));
}

TEST(HeadlessModel, DisplayFactsComeFromTheOptionsElseFromAnOrdinaryScreen) {
    FaceOptions zwoelf;
    zwoelf.twips = 12;
    Lauf standard(""), klein("", zwoelf);
    EXPECT_EQ((std::array<std::int64_t, 4>{standard.face.ScreenWidth(), standard.face.ScreenHeightTwips(),
                                           standard.face.Colours(), klein.face.ScreenWidthTwips()}),
              (std::array<std::int64_t, 4>{1024, 768 * 15, 16777216, 1024 * 12}));
}

// Each surface keeps its own output and its own font and colour: what is set on the
// background stays there, and clearing the text area leaves the background's output.
TEST(HeadlessDump, ShowsOpenWindowsControlsAndEachSurfacesOwnOutput) {
    Lauf run("dump\n");
    run.face.Run([&] {
        Licence l(run.face);
        run.face.CloseWindow(run.face.OpenWindow(2, 100, 100, 0));
        run.face.SetText(l.win3, "Willkommen");
        run.face.SelectOutput(l.win1);
        for (int y = 0; y < 4; ++y) run.face.DrawLine(0, y, 1024, y);
        run.face.SetOutputBold(true);
        run.face.SetForeColour(RGB(255, 0, 0));
        run.face.DrawText(66, 20, "Vorkwerk-Gruppe");
        run.face.SelectOutput(l.area);
        run.face.PrintLine("weg");
        run.face.ClearOutput();
        EXPECT_THROW(run.face.SetPrintPosition(0, 1), Laufzeitfehler);
        run.face.SetPrintPosition(2, 3);
        run.face.PrintItem("1.");
        run.face.SetOutputBold(true);
        run.face.PrintLine(" Titel");
        run.face.SetToolTip(l.next, "Tipp");
        run.face.Focus(l.next);
        run.face.SetMousePointer(11);
        run.face.EventStep();
        EndeProgramm();
    });
    const std::string dump = run.out.str().substr(run.out.str().find(R"({"op":"dump")"));
    for (const char* teil :
         {R"({"op":"dump",)", R"("name":"Win_3","number":3,"title":"Willkommen","x":262,"y":184,"w":500,"h":400,"owner":"Win_1")",
          R"("lines":[{"x1":0,"y1":0,"x2":1024,"y2":0,"colour":0,"count":4}])",
          R"({"name":"cbo_Weiter","kind":"button","window":"Win_3","text":"Weiter >","x":150,"y":330,"w":80,"h":24,"available":true,"ticked":false,"value":0,"max":100,"font":{"name":"MS Sans Serif","size":8,"bold":false})",
          R"("toolTip":"Tipp")", R"("name":"Win_1","number":1,)", R"("owner":null)",
          R"("texts":[{"x":66,"y":20,"text":"Vorkwerk-Gruppe","size":8,"bold":true,"colour":255}])",
          R"("printed":[{"line":3,"text":" 1. Titel","pieces":[{"column":2,"text":"1.","size":8,"bold":false,"colour":0},{"column":4,"text":" Titel","size":8,"bold":true,"colour":0}]}])",
          R"("focus":"cbo_Weiter","mousePointer":11})"}) {
        EXPECT_NE(dump.find(teil), std::string::npos) << teil;
    }
    EXPECT_EQ(dump.find(R"("name":"Win_2")"), std::string::npos);  // closed
}

}  // namespace
}  // namespace kaldorin
