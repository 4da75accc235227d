#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "runtime/ui/headless/headless_face.h"
#include "tests/headless/fake_host.h"

namespace kaldorin {
namespace {

// One run of the headless face over a script, with its transcript in memory.
struct Lauf {
    explicit Lauf(std::string_view script, FaceOptions options = {})
        : face(options, host, Script(ParseScript(script)), &out) {}

    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        std::istringstream in(out.str());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    bool Has(std::string_view piece) const { return out.str().find(piece) != std::string::npos; }
    std::string Last() const { return Lines().empty() ? "" : Lines().back(); }

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

// Runs `program` until the script says otherwise, counting the clicks it receives.
int Loop(Lauf& run, const std::function<void(Licence&)>& setup, std::map<std::string, int>& clicks) {
    return run.face.Run([&] {
        Licence l(run.face);
        setup(l);
        HandlerTable table;
        for (const char* name : {"cbo_Zurück_Click", "cbo_Weiter_Click", "bld_Click", "Win_1_Close"})
            table[name] = [&clicks, name] { ++clicks[name]; };
        run.face.BindHandlers(table);
        for (;;) run.face.EventStep();
    });
}

TEST(HeadlessEvents, ClicksReachOnlyUsableControls) {
    Lauf run("click cbo_Weiter\n"
            "click cbo_Zurück\n"
            "click bld\n"
            "close Win_1\n");
    std::map<std::string, int> clicks;
    int code = Loop(run, [&](Licence& l) { run.face.Move(l.picture, 1000, 1000); }, clicks);
    EXPECT_EQ(code, 3);
    EXPECT_EQ(clicks["cbo_Weiter_Click"], 1);
    EXPECT_EQ(clicks["cbo_Zurück_Click"], 0);
    EXPECT_EQ(clicks["bld_Click"], 0);
    EXPECT_EQ(clicks["Win_1_Close"], 1);
    EXPECT_TRUE(run.Has(R"({"op":"click","control":"cbo_Weiter"})"));
    EXPECT_TRUE(run.Has(R"({"op":"click","control":"cbo_Zurück","ignored":"not available"})"));
    EXPECT_TRUE(run.Has(R"({"op":"click","control":"bld","ignored":"out of view"})"));
    EXPECT_TRUE(run.Has(R"({"op":"close","window":"Win_1"})"));
    EXPECT_EQ(run.Last(), R"({"op":"end","code":3})");
}

TEST(HeadlessEvents, HiddenAtMinusThousandAndClosedWindowsIgnoreClicks) {
    Lauf run("click cbo_Weiter\nclick cbo_Zurück\nclose Win_3\n");
    std::map<std::string, int> clicks;
    Loop(run,
         [&](Licence& l) {
             run.face.Move(l.next, -1000, -1000);
             run.face.CloseWindow(l.win3);
         },
         clicks);
    EXPECT_TRUE(clicks.empty());
    EXPECT_TRUE(run.Has(R"({"op":"click","control":"cbo_Weiter","ignored":"window closed"})"));
    EXPECT_TRUE(run.Has(R"({"op":"close","window":"Win_3","ignored":"window closed"})"));
    EXPECT_TRUE(run.Has(R"({"op":"closed","window":"Win_3"})"));
}

TEST(HeadlessEvents, NestedStepsTakeNoScriptLines) {
    Lauf run("click cbo_Weiter\nclick cbo_Weiter\n");
    std::size_t leftInside = 99;
    int handled = 0;
    int code = run.face.Run([&] {
        Licence l(run.face);
        run.face.BindHandlers({{"cbo_Weiter_Click", [&] {
                                    ++handled;
                                    for (int i = 0; i < 5; ++i) run.face.EventStep();
                                    leftInside = run.face.ScriptLeft();
                                }}});
        run.face.EventStep();
        EndeProgramm();
    });
    EXPECT_EQ(code, 0);
    EXPECT_EQ(handled, 1);
    EXPECT_EQ(leftInside, 1u);
    EXPECT_EQ(run.Last(), R"({"op":"end","code":0})");
}

TEST(HeadlessEvents, ScriptFaultsEndTheRunWithCodeTwo) {
    // Which target fits which action is the shared player's; here only that the face asks it.
    for (const char* script : {"click Nirgends\n", "answer 1\n", "type cbo_Weiter x\n"}) {
        Lauf run(script);
        std::map<std::string, int> clicks;
        EXPECT_EQ(Loop(run, [](Licence&) {}, clicks), 2) << script;
        EXPECT_TRUE(run.Has(R"({"op":"error","line":1,)")) << script;
        EXPECT_EQ(run.Last(), R"({"op":"end","code":2})");
    }
}

TEST(HeadlessEvents, SwallowedEndStillEndsTheRun) {
    Lauf run("");
    int code = run.face.Run([&] {
        try {
            run.face.EventStep();
        } catch (...) {
        }
        run.face.EventStep();  // the program carries on: the end comes again
        ADD_FAILURE() << "EventStep returned after the end";
    });
    EXPECT_EQ(code, 3);
    EXPECT_EQ(run.Lines().size(), 1u);
}

TEST(HeadlessEvents, TypeAndTickChangeOnlyUsableControls) {
    Lauf run("type TB_Dir D:\\Neu\ntype TB_Von X\ntick CB_Desk 0\ntick CB_Start 0\n");
    Handle dir = 0, von = 0, desk = 0, start = 0;
    run.face.Run([&] {
        Handle w = run.face.OpenWindow(1, 400, 300, 0);
        dir = run.face.CreateControl(w, Art::TextBox, "TB_Dir", "C:\\Alt", 10, 10, 180, 20);
        von = run.face.CreateControl(w, Art::TextBox, "TB_Von", "Q", -1000, -1000, 180, 20);
        desk = run.face.CreateControl(w, Art::CheckBox, "CB_Desk", "", 10, 40, 200, 18);
        start = run.face.CreateControl(w, Art::CheckBox, "CB_Start", "", 10, 60, 200, 18);
        run.face.SetTicked(desk, true);
        run.face.SetTicked(start, true);
        run.face.SetAvailable(start, false);
        for (;;) run.face.EventStep();
    });
    EXPECT_EQ(run.face.Control(dir).text, "D:\\Neu");
    EXPECT_EQ(run.face.Control(von).text, "Q");
    EXPECT_FALSE(run.face.Control(desk).ticked);
    EXPECT_TRUE(run.face.Control(start).ticked);
    EXPECT_TRUE(run.Has(R"({"op":"type","control":"TB_Von","text":"X","ignored":"out of view"})"));
    EXPECT_TRUE(run.Has(R"({"op":"tick","control":"CB_Start","ticked":false,"ignored":"not available"})"));
}

// --- Modal dialogs ---------------------------------------------------------------------

TEST(HeadlessDialogs, AlertReturnsTheScriptedButton) {
    Lauf run("answer 2\n");
    int answer = 0;
    EXPECT_EQ(run.face.Run([&] { answer = run.face.Alert(19, "a||b", 1, " weiter | abbrechen "); }), 0);
    EXPECT_EQ(answer, 2);
    EXPECT_EQ(run.Lines().at(0),
              R"({"op":"alert","style":19,"text":"a||b","default":1,"buttons":[" weiter "," abbrechen "],"answer":2})");
}

TEST(HeadlessDialogs, WrongOrMissingAnswersEndTheRun) {
    struct Case {
        const char* script;
        int code;
    };
    for (Case c : {Case{"answer 3\n", 2}, Case{"", 3}}) {
        Lauf run(c.script);
        bool returned = false;
        EXPECT_EQ(run.face.Run([&] {
            run.face.Alert(19, "t", 2, "a|b");
            returned = true;
        }),
                  c.code)
            << c.script;
        EXPECT_FALSE(returned);
        EXPECT_EQ(run.Lines().at(0), R"({"op":"alert","style":19,"text":"t","default":2,"buttons":["a","b"]})");
        if (c.code == 2) {
            EXPECT_TRUE(run.Has(R"({"op":"error","line":1,)")) << c.script;
        }
    }
}

TEST(HeadlessDialogs, MessageHasOneButton) {
    Lauf ok("answer 1\n");
    EXPECT_EQ(ok.face.Run([&] { ok.face.Message("Zeile 1\rZeile 2", "KALDORIN", 16); }), 0);
    EXPECT_EQ(ok.Lines().at(0),
              R"({"op":"message","title":"KALDORIN","text":"Zeile 1\rZeile 2","style":16,"answer":1})");
}

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

TEST(HeadlessModel, LoadFormBuildsTheStoredControls) {
    Lauf run("");
    Handle form = run.face.LoadForm(":{FRM_Installation");
    EXPECT_EQ(run.face.FindControl("FRM_Installation"), form);
    WindowState f = run.face.Window(form);
    EXPECT_EQ(f.title, "KALDORIN-Edit Setup");
    EXPECT_EQ(f.width, 382);
    for (const char* name : {"IMG_Bild", "fr1", "CMD_Zurück", "CMD_Weiter", "CMD_Abbrechen", "LB_1", "LB_2", "LB_3",
                             "LB_4", "LB_5", "LB_6", "LB_7", "LB_8", "LB_10", "LB_11", "LB_12", "CMD_Entfernen",
                             "LB_9"}) {
        ControlState c = run.face.Control(run.face.FindControl(name));
        EXPECT_EQ(c.window, "FRM_Installation") << name;
    }
    ControlState weiter = run.face.Control(run.face.FindControl("CMD_Weiter"));
    EXPECT_EQ(weiter.kind, Art::Button);
    EXPECT_EQ(weiter.text, "weiter");
    EXPECT_EQ((std::vector<int>{weiter.x, weiter.y, weiter.width, weiter.height}), (std::vector<int>{214, 206, 72, 24}));
    EXPECT_FALSE(run.face.Available(run.face.FindControl("CMD_Zurück")));
    ControlState lb1 = run.face.Control(run.face.FindControl("LB_1"));
    EXPECT_TRUE(lb1.font.bold);
    EXPECT_EQ(lb1.font.size, 12);
    EXPECT_EQ(run.face.Control(run.face.FindControl("LB_2")).font.size, 8);
    EXPECT_THROW(run.face.LoadForm(":{FRM_Installation"), Laufzeitfehler);  // already loaded
    EXPECT_THROW(run.face.LoadForm(":gibtsnicht"), Laufzeitfehler);
}

TEST(HeadlessModel, ClosingAWindowClosesItsControls) {
    Lauf run("");
    Licence l(run.face);
    run.face.CloseWindow(l.win3);
    EXPECT_FALSE(run.face.IsOpen(l.next));
    EXPECT_THROW(run.face.FindControl("cbo_Weiter"), Laufzeitfehler);
    EXPECT_THROW(run.face.SetText(l.next, "x"), Laufzeitfehler);
    EXPECT_THROW(run.face.CloseWindow(l.win3), Laufzeitfehler);
    EXPECT_EQ(run.face.FindControl("Win_1"), l.win1);
    // The number can be opened again, and its controls made anew.
    Handle again = run.face.OpenWindow(3, 500, 400, l.win1);
    EXPECT_NE(again, l.win3);
    EXPECT_NO_THROW(run.face.CreateControl(again, Art::Button, "cbo_Weiter", "Weiter >", 150, 330, 80, 24));
    EXPECT_THROW(run.face.OpenWindow(3, 500, 400, 0), Laufzeitfehler);
    EXPECT_THROW(run.face.CreateControl(again, Art::Button, "cbo_Weiter", "", 0, 0, 1, 1), Laufzeitfehler);
}

TEST(HeadlessModel, KindSpecificOperationsRefuseOtherKinds) {
    Lauf run("");
    Licence l(run.face);
    EXPECT_THROW(run.face.SetTicked(l.next, true), Laufzeitfehler);
    EXPECT_THROW(run.face.SetPicture(l.area, ":vork2"), Laufzeitfehler);
    EXPECT_THROW(run.face.SetProgress(l.next, 1), Laufzeitfehler);
    EXPECT_THROW(run.face.SelectOutput(l.next), Laufzeitfehler);
    EXPECT_THROW(run.face.SetIcon(l.next, ":vork2"), Laufzeitfehler);
    EXPECT_THROW(run.face.Text(12345), Laufzeitfehler);
    Handle bar = run.face.CreateControl(l.win3, Art::ProgressBar, "PB", "", 0, 0, 230, 16);
    run.face.SetProgressMax(bar, 11);
    run.face.SetProgress(bar, 8);
    EXPECT_THROW(run.face.SetProgress(bar, 12), Laufzeitfehler);
    EXPECT_EQ(run.face.Control(bar).value, 8);
}

TEST(HeadlessModel, OutputGoesToTheSelectedSurfaceWithItsOwnFont) {
    Lauf run("");
    Licence l(run.face);
    EXPECT_THROW(run.face.PrintLine("x"), Laufzeitfehler);  // nothing selected yet
    run.face.SelectOutput(l.win3);
    run.face.SetOutputFontSize(14);
    run.face.SetOutputBold(true);
    run.face.DrawText(66, 20, "Vorkwerk-Gruppe");
    run.face.SelectOutput(l.area);
    run.face.SetFontSize(l.area, 8);
    run.face.SetPrintPosition(1, 3);
    run.face.PrintLine("");
    run.face.SetOutputFontSize(10);
    run.face.PrintItem("  ");
    run.face.SetForeColour(RGB(255, 0, 0));
    run.face.PrintLine("Text");
    EXPECT_THROW(run.face.SetPrintPosition(0, 1), Laufzeitfehler);

    const SurfaceOutput& win = run.face.Output(l.win3);
    ASSERT_EQ(win.texts.size(), 1u);
    EXPECT_EQ(win.texts[0].size, 14);
    EXPECT_TRUE(win.texts[0].bold);
    const SurfaceOutput& area = run.face.Output(l.area);
    ASSERT_EQ(area.printed.size(), 2u);
    EXPECT_EQ(area.printed.at(4).Text(), "  Text");
    EXPECT_FALSE(area.printed.at(4).pieces[1].bold);
    EXPECT_EQ(area.printed.at(4).pieces[1].colour, 255);
    EXPECT_EQ(area.printed.at(4).pieces[0].colour, 0);
    run.face.ClearOutput();
    EXPECT_TRUE(run.face.Output(l.area).printed.empty());
    EXPECT_EQ(run.face.Output(l.win3).texts.size(), 1u);
}

TEST(HeadlessModel, DisplayFactsComeFromTheOptions) {
    Lauf standard("");
    EXPECT_EQ(standard.face.ScreenWidth(), 1024);
    EXPECT_EQ(standard.face.ScreenHeightTwips(), 768 * 15);
    EXPECT_EQ(standard.face.Colours(), 16777216);
    FaceOptions small;
    small.screenWidth = 799;
    small.screenHeight = 600;
    small.twips = 12;
    small.colours = 256;
    Lauf run("", small);
    EXPECT_EQ(run.face.ScreenWidthTwips(), 799 * 12);
    EXPECT_EQ(run.face.ScreenHeight(), 600);
    EXPECT_EQ(run.face.Colours(), 256);
}

TEST(HeadlessDump, ShowsOpenWindowsControlsAndOutput) {
    Lauf run("dump\n");
    run.face.Run([&] {
        Licence l(run.face);
        Handle w2 = run.face.OpenWindow(2, 100, 100, 0);
        run.face.CloseWindow(w2);
        run.face.SetText(l.win3, "Willkommen");
        run.face.SelectOutput(l.win1);
        for (int y = 0; y < 4; ++y) run.face.DrawLine(0, y, 1024, y);
        run.face.SelectOutput(l.area);
        run.face.SetOutputBold(true);
        run.face.PrintLine(" 1. Titel");
        run.face.SetToolTip(l.next, "Tipp");
        run.face.Focus(l.next);
        run.face.SetMousePointer(11);
        run.face.EventStep();
        EndeProgramm();
    });
    std::string dump;
    for (const auto& line : run.Lines())
        if (line.starts_with(R"({"op":"dump")")) dump = line;
    ASSERT_FALSE(dump.empty());
    EXPECT_NE(dump.find(R"("name":"Win_3","number":3,"title":"Willkommen","x":262,"y":184,"w":500,"h":400,"owner":"Win_1")"),
              std::string::npos);
    EXPECT_EQ(dump.find(R"("name":"Win_2")"), std::string::npos);  // closed
    EXPECT_NE(dump.find(R"("lines":[{"x1":0,"y1":0,"x2":1024,"y2":0,"colour":0,"count":4}])"), std::string::npos);
    EXPECT_NE(dump.find(R"({"name":"cbo_Weiter","kind":"button","window":"Win_3","text":"Weiter >","x":150,"y":330,"w":80,"h":24,"available":true,"ticked":false,"value":0,"max":100,"font":{"name":"MS Sans Serif","size":8,"bold":false})"),
              std::string::npos);
    EXPECT_NE(dump.find(R"("toolTip":"Tipp")"), std::string::npos);
    EXPECT_NE(dump.find(R"("printed":[{"line":1,"text":" 1. Titel","pieces":[{"column":1,"text":" 1. Titel","size":8,"bold":true,"colour":0}]}])"),
              std::string::npos);
    EXPECT_NE(dump.find(R"("focus":"cbo_Weiter","mousePointer":11})"), std::string::npos);
}

}  // namespace
}  // namespace kaldorin
