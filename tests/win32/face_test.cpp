// The Win32 face on real windows (under Wine and Xvfb): what the program relies on
// and what it must be refused.
#include <gtest/gtest.h>

#include <sstream>

#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/win32_host.h"
#include "runtime/host/win32/windows_w32.h"
#include "runtime/ui/win32/w32_dpi.h"
#include "runtime/ui/win32/win32_face.h"

namespace kaldorin::w32 {
namespace {

class Fenster : public ::testing::Test {
protected:
    Win32Host host;
    std::ostringstream transcript;
    Win32Face face{FaceOptions{}, host, std::nullopt, &transcript};
};

TEST_F(Fenster, ControlsKeepTheirPlaceAndState) {
    const Handle w = face.OpenWindow(3, 500, 400, 0);
    const Handle b = face.CreateControl(w, Art::Button, "cbo_Weiter", "Weiter >", 150, 330, 80, 24);
    const Handle t = face.CreateControl(w, Art::TextBox, "TB_Dir", "C:\\Programme\\Fahrstraßen", 118, 150, 180, 20);
    EXPECT_EQ(face.FindControl("cbo_Weiter"), b);
    EXPECT_EQ(face.Text(t), "C:\\Programme\\Fahrstraßen");
    face.SetAvailable(b, false);
    EXPECT_FALSE(face.Available(b));
    face.Move(b, -1000, -1000);
    face.SetText(b, "weiter");
    EXPECT_EQ(face.Text(b), "weiter");
    face.SetText(w, "Lizenzvereinbarung");
    EXPECT_EQ(face.Text(w), "Lizenzvereinbarung");
    EXPECT_THROW(face.CreateControl(w, Art::Label, "TB_Dir", "", 0, 0, 1, 1), Laufzeitfehler);  // same name
    EXPECT_THROW(face.CreateControl(w, Art::Label, "", "", 0, 0, 1, 1), Laufzeitfehler);
    EXPECT_THROW(face.OpenWindow(3, 500, 400, 0), Laufzeitfehler);  // already open
}

TEST_F(Fenster, KindSpecificOperationsRefuseOtherKinds) {
    const Handle w = face.OpenWindow(1, 300, 200, 0);
    const Handle l = face.CreateControl(w, Art::Label, "LB_1", "", 10, 10, 100, 16);
    const Handle p = face.CreateControl(w, Art::ProgressBar, "PB_Fortschritt", "", 10, 40, 200, 16);
    const Handle c = face.CreateControl(w, Art::CheckBox, "CB_Desk", "Desktop", 10, 70, 200, 16);
    EXPECT_THROW(face.SetTicked(l, true), Laufzeitfehler);
    EXPECT_THROW(face.SetProgress(c, 1), Laufzeitfehler);
    EXPECT_THROW(face.SetBorder(l, 1), Laufzeitfehler);
    EXPECT_THROW(face.SelectOutput(l), Laufzeitfehler);  // a label is no output surface
    EXPECT_THROW(face.SetToolTip(w, "x"), Laufzeitfehler);
    face.SetTicked(c, true);
    EXPECT_TRUE(face.Ticked(c));
    face.SetProgressMax(p, 8);
    face.SetProgress(p, 8);
    EXPECT_THROW(face.SetProgress(p, 9), Laufzeitfehler);  // refused, not clamped
    EXPECT_THROW(face.SetProgress(p, -1), Laufzeitfehler);
    EXPECT_THROW(face.SetProgressMax(p, 0), Laufzeitfehler);
    EXPECT_THROW(face.SetFontSize(l, 0), Laufzeitfehler);
}

TEST_F(Fenster, OutputNeedsASurfaceAndAValidPosition) {
    EXPECT_THROW(face.PrintLine("x"), Laufzeitfehler);  // nothing selected
    const Handle w = face.OpenWindow(3, 500, 400, 0);
    const Handle tb = face.CreateControl(w, Art::TextArea, "tb1", "", 10, 70, 474, 252);
    face.SelectOutput(tb);
    face.ClearOutput();
    face.SetForeColour(RGB(255, 0, 0));
    face.SetPrintPosition(5, 2);
    face.PrintItem("VORK ");
    face.PrintLine("Lizenzvertrag");
    face.DrawLine(0, 0, 10, 0);
    face.DrawText(3, 4, "ä");
    EXPECT_THROW(face.SetPrintPosition(0, 1), Laufzeitfehler);
    EXPECT_THROW(face.SetOutputFontSize(-2), Laufzeitfehler);
}

TEST_F(Fenster, ClosingAWindowClosesItsControlsAndOwnedWindows) {
    const Handle hintergrund = face.OpenWindow(1, 300, 200, 0), lizenz = face.OpenWindow(3, 200, 100, hintergrund);
    const Handle knopf = face.CreateControl(lizenz, Art::Button, "cbo_Ablehnen", "Ablehnen", 0, 0, 80, 24);
    face.SelectOutput(lizenz);
    face.CloseWindow(hintergrund);
    EXPECT_THROW(face.Text(knopf), Laufzeitfehler);
    EXPECT_THROW(face.CloseWindow(lizenz), Laufzeitfehler);  // went with its owner
    EXPECT_THROW(face.FindControl("cbo_Ablehnen"), Laufzeitfehler);
    EXPECT_THROW(face.PrintLine("x"), Laufzeitfehler);       // the surface is gone
    EXPECT_THROW(face.CloseWindow(hintergrund), Laufzeitfehler);
    EXPECT_NO_THROW(face.OpenWindow(3, 200, 100, 0));        // the number is free again
}

TEST_F(Fenster, TheDisplayIsTheRealOneUnlessFixed) {
    EXPECT_EQ(face.ScreenWidth(), Programmeinheiten(GetSystemMetrics(SM_CXSCREEN), SystemDpi()));
    EXPECT_EQ(face.ScreenWidthTwips(), face.ScreenWidth() * 15);  // a program pixel is 1/96 inch
    EXPECT_GE(face.Colours(), 2);
    FaceOptions fest;
    fest.screenWidth = 799, fest.screenHeight = 600, fest.twips = 12, fest.colours = 256;
    Win32Face anders(fest, host, std::nullopt, nullptr);
    EXPECT_EQ(anders.ScreenWidthTwips(), 799 * 12);
    EXPECT_EQ(anders.Colours(), 256);
}

// A program run through the face: a queued close reaches its handler, and WM_QUIT
// ends the run with its own code instead of being lost.
TEST(Lauf, CloseEventsReachTheirHandlersAndQuitEndsTheRun) {
    Win32Host host;
    std::ostringstream transcript;
    Win32Face face(FaceOptions{}, host, std::nullopt, &transcript);
    int geschlossen = 0;
    const int code = face.Run([&] {
        face.OpenWindow(3, 200, 100, 0);
        face.BindHandlers({{"Win_3_Close", [&] {
                                ++geschlossen;
                                PostQuitMessage(7);
                                face.EventStep();  // inside a handler: no wait, the quit is seen
                            }}});
        PostMessageW(FindWindowW(L"KaldorinFenster", nullptr), WM_CLOSE, 0, 0);
        for (;;) face.EventStep();
    });
    EXPECT_EQ(geschlossen, 1);
    EXPECT_EQ(code, 7);
    EXPECT_NE(transcript.str().find("{\"op\":\"end\",\"code\":7}"), std::string::npos);
}

// A script that runs out ends with 3; an answer without a dialog is a script fault.
TEST(Lauf, AScriptThatRunsOutOrBreaksTheRulesEndsTheRun) {
    for (const auto& [zeilen, erwartet] : {std::pair{"dump\n", 3}, std::pair{"answer 1\n", 2}}) {
        Win32Host host;
        Win32Face face(FaceOptions{}, host, Script(ParseScript(zeilen)), nullptr);
        const int code = face.Run([&] {
            face.OpenWindow(1, 200, 100, 0);
            for (;;) face.EventStep();
        });
        EXPECT_EQ(code, erwartet) << zeilen;
    }
}

TEST(Lauf, AlertButtonsArePressedByTheScriptAndKeepTheirBlanks) {
    Win32Host host;
    std::ostringstream transcript;
    Win32Face face(FaceOptions{}, host, Script(ParseScript("answer 2\nanswer 3\n")), &transcript);
    int antwort = 0;
    const int code = face.Run([&] {
        face.OpenWindow(1, 200, 100, 0);
        antwort = face.Alert(19, "Zeile|Zeile||Ende", 2, "  installieren  |   abbrechen   ");
        face.Alert(19, "x", 1, "a|b");  // answer 3 does not exist
    });
    EXPECT_EQ(antwort, 2);
    EXPECT_EQ(code, 2);
    EXPECT_NE(transcript.str().find("\"buttons\":[\"  installieren  \",\"   abbrechen   \"],\"answer\":2"),
              std::string::npos);
}

BOOL CALLBACK DialogSuchen(HWND fenster, LPARAM daten) {
    wchar_t klasse[16] = {};
    GetClassNameW(fenster, klasse, 16);
    if (std::wstring(klasse) != L"#32770" || !IsWindowVisible(fenster)) return TRUE;
    *reinterpret_cast<HWND*>(daten) = fenster;
    return FALSE;
}

// Presses OK in the dialog this thread shows, as a person would who takes what it offers.
void CALLBACK OkDruecken(HWND, UINT, UINT_PTR uhr, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), DialogSuchen, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog) return;  // not up yet: the timer comes again
    KillTimer(nullptr, uhr);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

// The default target does not exist before page 3: the shell's dialog opens at the
// nearest folder above it, the rule every face shares, not at the desktop.
TEST(Ordnerwahl, TheShellDialogOpensAtTheNearestFolderThatExists) {
    Win32Host host;
    std::ostringstream transcript;
    Win32Face face(FaceOptions{}, host, std::nullopt, &transcript);
    const std::string ordner = host.WindowsFolder();
    std::string gewaehlt;
    SetTimer(nullptr, 0, 200, OkDruecken);
    face.Run([&] { gewaehlt = face.BrowseForFolder(0, 1, "Ziel", ordner + "\\Neu\\Tiefer\\"); });
    EXPECT_EQ(CompareStringOrdinal(Breit(gewaehlt).c_str(), -1, Breit(ordner + "\\").c_str(), -1, TRUE), CSTR_EQUAL)
        << gewaehlt << "\n" << transcript.str();
    EXPECT_NE(transcript.str().find("\"opens\":"), std::string::npos);
}

}  // namespace
}  // namespace kaldorin::w32
