// The Win32 face on real windows (under Wine and Xvfb): the rules of every face
// (tests/face_regeln.h) and what only this one does; and its pieces that need no
// window: line breaks for Windows texts and the late binding of a library function.
#include <gtest/gtest.h>

#include <sstream>

#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/win32_host.h"
#include "runtime/host/win32/windows_w32.h"
#include "runtime/ui/win32/shell_bindung.h"
#include "runtime/ui/win32/w32_hilfen.h"
#include "runtime/ui/win32/win32_face.h"
#include "tests/face_regeln.h"

namespace kaldorin::w32 {
namespace {

class Fenster : public ::testing::Test {
protected:
    Win32Host host;
    std::ostringstream transcript;
    Win32Face face{FaceOptions{}, host, std::nullopt, &transcript};
};

TEST_F(Fenster, KeepTheRulesOfEveryFace) { test::FaceRegelnPruefen(face); }

TEST_F(Fenster, TheDisplayIsTheRealOneUnlessFixed) {
    EXPECT_EQ(face.ScreenWidthTwips(), face.ScreenWidth() * 15);  // a program pixel is 1/96 inch
    FaceOptions fest;
    fest.screenWidth = 799, fest.screenHeight = 600, fest.twips = 12, fest.colours = 256;
    Win32Face anders(fest, host, std::nullopt, nullptr);
    EXPECT_EQ(anders.ScreenWidthTwips(), 799 * 12);
    EXPECT_EQ(anders.Colours(), 256);
}

// A program run through the face: a queued close reaches its handler, and WM_QUIT
// ends the run with its own code instead of being lost.
TEST_F(Fenster, CloseEventsReachTheirHandlersAndQuitEndsTheRun) {
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

// The script presses an alert's button (which answers it may give is the shared
// player's, tested natively).
TEST(Lauf, AlertButtonsArePressedByTheScript) {
    Win32Host host;
    Win32Face face(FaceOptions{}, host, Script(ParseScript("answer 2\n")), nullptr);
    int antwort = 0;
    EXPECT_EQ(face.Run([&] {
        face.OpenWindow(1, 200, 100, 0);
        antwort = face.Alert(19, "Zeile|Zeile||Ende", 2, "  installieren  |   abbrechen   ");
    }), 0);
    EXPECT_EQ(antwort, 2);
}

// Presses OK in the dialog this thread shows, as a person would who takes what it offers.
void CALLBACK OkDruecken(HWND, UINT, UINT_PTR uhr, DWORD) {
    HWND dialog = FindWindowW(L"#32770", nullptr);
    if (!dialog || !IsWindowVisible(dialog) || GetWindowThreadProcessId(dialog, nullptr) != GetCurrentThreadId())
        return;  // not up yet: the timer comes again
    KillTimer(nullptr, uhr);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

// The default target does not exist before page 3: the shell's dialog opens at the
// nearest folder above it, the rule every face shares, not at the desktop.
TEST_F(Fenster, TheShellFolderDialogOpensAtTheNearestFolderThatExists) {
    const std::string ordner = host.WindowsFolder();
    std::string gewaehlt;
    SetTimer(nullptr, 0, 200, OkDruecken);
    face.Run([&] { gewaehlt = face.BrowseForFolder(0, 1, "Ziel", ordner + "\\Neu\\Tiefer\\"); });
    EXPECT_EQ(CompareStringOrdinal(Breit(gewaehlt).c_str(), -1, Breit(ordner + "\\").c_str(), -1, TRUE), CSTR_EQUAL)
        << gewaehlt << "\n" << transcript.str();
    EXPECT_NE(transcript.str().find("\"opens\":"), std::string::npos);
}

TEST(Zeilen, EveryLineEndBecomesCrLf) {
    EXPECT_EQ(Zeilen("a\rb\nc\r\nd", false), L"a\r\nb\r\nc\r\nd");
    EXPECT_EQ(Zeilen("a|b||c", true), L"a\r\nb\r\n\r\nc");
    EXPECT_EQ(Zeilen("a|b", false), L"a|b");
}

// The library is loaded once for all its functions; a missing library or function
// is an error, and nothing is bound.
TEST(Bindung, TheLibraryIsLoadedOnceAndWhatIsMissingIsAnError) {
    Bibliothekseintrag kernel{nullptr, L"kernel32.dll"}, fehlt{nullptr, L"gibtesnicht-kaldorin.dll"};
    Funktionseintrag erste{nullptr, &kernel, "GetTickCount"}, zweite{nullptr, &kernel, "GetCurrentProcessId"};
    const FARPROC a = Aufloesen(erste);
    const HMODULE geladen = kernel.modul;
    ASSERT_NE(a, nullptr);
    ASSERT_NE(geladen, nullptr);
    EXPECT_EQ(Aufloesen(erste), a);  // later calls go straight to the function
    EXPECT_NE(Aufloesen(zweite), nullptr);
    EXPECT_EQ(kernel.modul, geladen);
    Funktionseintrag f{nullptr, &fehlt, "Irgendwas"}, g{nullptr, &kernel, "GibtEsNichtKaldorin"};
    EXPECT_THROW(Aufloesen(f), Laufzeitfehler);
    EXPECT_THROW(Aufloesen(g), Laufzeitfehler);
    EXPECT_EQ(g.adresse, nullptr);
}

}  // namespace
}  // namespace kaldorin::w32
