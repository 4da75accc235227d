// The Win32 face at the DPI of the prefix it runs in (wine_dpi_test.sh runs these at
// 96, 120, 144 and 192): the layout scales with the DPI, dumps stay in the program's
// pixels, and no text of any page or alert is wider or taller than its control, as
// measured in the face's own fonts. With KALDORIN_SCREENSHOTS set, every page and
// alert of the road is saved there as a BMP picture.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>

#include "programm/programm.h"
#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/win32_host.h"
#include "runtime/host/win32/windows_w32.h"
#include "runtime/ui/win32/flaeche_w32.h"
#include "runtime/ui/win32/w32_dpi.h"
#include "runtime/ui/win32/w32_hilfen.h"
#include "runtime/ui/win32/win32_face.h"
#include "startup/hauptprogramm.h"

namespace kaldorin::w32 {
namespace {

RECT Innen(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    return r;
}

// --- Measuring ---------------------------------------------------------------------

// What of the text of `hwnd` sticks out of it ("" when nothing does). A label's
// lines break at its width and their baselines lie inside it; a button's caption
// keeps a margin to the border; a check box's text starts right of its box.
std::string Ueberstand(HWND hwnd, HFONT schrift, Art art, int dpi) {
    const std::wstring text = Breit(FensterText(hwnd));
    if (text.empty() || !schrift || (art != Art::Label && art != Art::Button && art != Art::CheckBox)) return "";
    const RECT r = Innen(hwnd);
    // The width of the longest line, broken at the label's width (others: one line).
    HDC dc = GetDC(nullptr);
    HGDIOBJ alt = SelectObject(dc, schrift);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT t{0, 0, art == Art::Label ? r.right : 0, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &t,
                DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (t.right > 0 ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, alt);
    ReleaseDC(nullptr, dc);
    const int zeilen = tm.tmHeight > 0 ? (t.bottom + tm.tmHeight - 1) / tm.tmHeight : 0, breite = t.right;
    const int vorne = art == Art::Label ? 0 : Skaliert(art == Art::Button ? 4 : 13 + 4, dpi);
    const int hinten = art == Art::Button ? Skaliert(4, dpi) : 0;
    const int unten = art == Art::Label ? (zeilen - 1) * tm.tmHeight + tm.tmAscent : tm.tmHeight;
    if (vorne + breite + hinten <= r.right && unten <= r.bottom) return "";
    return "text " + std::to_string(breite) + "x" + std::to_string(unten) + " + margins " +
           std::to_string(vorne + hinten) + " in " + std::to_string(r.right) + "x" + std::to_string(r.bottom);
}

// Every text of the face's open windows that does not fit, one line each; what was
// printed or drawn as text stays inside its surface.
std::vector<std::string> Ueberstaende(const Win32Face& face, const std::string& wo) {
    std::vector<std::string> fehler;
    for (const auto& [handle, e] : face.Elements()) {
        if (!e.open || !e.hwnd) continue;
        const std::string name = wo + ": " + (e.isWindow ? e.windowState.name : e.controlState.name);
        const std::string u = e.isWindow ? "" : Ueberstand(e.hwnd, e.schrift, e.controlState.kind, face.DpiVon(e));
        if (!u.empty()) fehler.push_back(name + " \"" + FensterText(e.hwnd) + "\": " + u);
        if (!e.flaeche) continue;
        const RECT t = e.flaeche->Beschrieben();
        const SIZE g = e.flaeche->Groesse();
        if (t.right > g.cx || t.bottom > g.cy)
            fehler.push_back(name + ": text reaches " + std::to_string(t.right) + "x" + std::to_string(t.bottom) +
                             " on " + std::to_string(g.cx) + "x" + std::to_string(g.cy));
    }
    return fehler;
}

// --- Pictures ------------------------------------------------------------------------

// The whole screen as a 24-bit BMP in $KALDORIN_SCREENSHOTS/NAME.bmp (nothing when unset).
void Foto(const std::string& name) {
    const char* ordner = std::getenv("KALDORIN_SCREENSHOTS");
    if (!ordner || !*ordner) return;
    const int b = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    const DWORD groesse = ((static_cast<DWORD>(b) * 3 + 3) & ~3u) * static_cast<DWORD>(h);
    BITMAPINFOHEADER kopf{sizeof kopf, b, h, 1, 24, BI_RGB, groesse, 0, 0, 0, 0};  // bottom-up
    const DWORD vorne = sizeof(BITMAPFILEHEADER) + sizeof kopf;
    const BITMAPFILEHEADER datei{0x4D42, vorne + groesse, 0, 0, vorne};
    void* bits = nullptr;
    HDC schirm = GetDC(nullptr), speicher = CreateCompatibleDC(schirm);
    HBITMAP bild = CreateDIBSection(schirm, reinterpret_cast<BITMAPINFO*>(&kopf), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ alt = SelectObject(speicher, bild);
    BitBlt(speicher, 0, 0, b, h, schirm, 0, 0, SRCCOPY);
    GdiFlush();
    if (FILE* f = std::fopen((std::string(ordner) + "\\" + name + ".bmp").c_str(), "wb")) {
        std::fwrite(&datei, sizeof datei, 1, f);
        std::fwrite(&kopf, sizeof kopf, 1, f);
        std::fwrite(bits, 1, groesse, f);
        std::fclose(f);
    }
    SelectObject(speicher, alt);
    DeleteObject(bild);
    DeleteDC(speicher);
    ReleaseDC(nullptr, schirm);
}

// --- The road through every page -----------------------------------------------------

// A user at the keyboard of this thread: at each wait of the program it looks at the
// page (picture, measure) and clicks the next button; an alert or message box is
// looked at and answered with its first button.
struct Bediener {
    explicit Bediener(Win32Face& f) : face(f) {
        aktiv = this;
        uhr = SetTimer(nullptr, 0, 150, Ticken);
    }
    ~Bediener() {
        KillTimer(nullptr, uhr);
        aktiv = nullptr;
    }

    std::string Name(const char* art) {
        char name[32];
        std::snprintf(name, sizeof name, "%02d-%s", ++bilder, art);
        Foto(name);
        return name;
    }

    void Seite() {
        for (const auto& [handle, e] : face.Elements())
            if (e.isWindow && e.open && e.hwnd) UpdateWindow(e.hwnd);
        for (auto& f : Ueberstaende(face, Name("seite"))) fehler.push_back(f);
        if (klicks.empty()) return;
        face.Queue(klicks.front() + "_Click");
        klicks.erase(klicks.begin());
    }

    static BOOL CALLBACK WarnungSuchen(HWND hwnd, LPARAM l) {
        wchar_t klasse[32] = {};
        GetClassNameW(hwnd, klasse, 32);
        if (!IsWindowVisible(hwnd) || GetPropW(hwnd, L"beantwortet") ||
            (lstrcmpW(klasse, L"KaldorinWarnung") != 0 && lstrcmpW(klasse, L"#32770") != 0))
            return TRUE;
        *reinterpret_cast<HWND*>(l) = hwnd;
        return FALSE;
    }

    static BOOL CALLBACK KindPruefen(HWND kind, LPARAM l) {
        auto* b = reinterpret_cast<Bediener*>(l);
        wchar_t klasse[16] = {};
        GetClassNameW(kind, klasse, 16);
        const Art art = lstrcmpiW(klasse, L"Button") == 0 ? Art::Button : Art::Label;
        auto schrift = reinterpret_cast<HFONT>(SendMessageW(kind, WM_GETFONT, 0, 0));
        const std::string u = Ueberstand(kind, schrift, art, FensterDpi(kind));
        if (!u.empty()) b->fehler.push_back(b->warnung + ": \"" + FensterText(kind) + "\": " + u);
        if (art == Art::Button && !b->knopf) b->knopf = kind;
        return TRUE;
    }

    static void CALLBACK Ticken(HWND, UINT, UINT_PTR, DWORD) {
        if (!aktiv) return;
        if (GetTickCount64() > aktiv->schluss) PostQuitMessage(9);  // never hang the test run
        HWND w = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), WarnungSuchen, reinterpret_cast<LPARAM>(&w));
        if (!w) return;
        SetPropW(w, L"beantwortet", reinterpret_cast<HANDLE>(1));
        UpdateWindow(w);
        aktiv->warnung = aktiv->Name("warnung");
        aktiv->knopf = nullptr;
        EnumChildWindows(w, KindPruefen, reinterpret_cast<LPARAM>(aktiv));
        ++aktiv->warnungen;
        HWND k = aktiv->knopf;
        PostMessageW(w, WM_COMMAND, k ? MAKEWPARAM(GetDlgCtrlID(k), BN_CLICKED) : IDOK, reinterpret_cast<LPARAM>(k));
    }

    static inline Bediener* aktiv = nullptr;
    Win32Face& face;
    UINT_PTR uhr = 0;
    std::vector<std::string> klicks, fehler;
    std::string warnung;
    HWND knopf = nullptr;
    ULONGLONG schluss = GetTickCount64() + 120000;
    int bilder = 0, warnungen = 0;
};

TEST(W32Dpi, EveryTextFitsOnEveryPageAndAlertOfTheRoad) {
    if (GetFileAttributesW(L"t0e.px_") == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "the road needs the demo medium beside this program (wine_dpi_test.sh)";
    Win32Host host;
    std::ostringstream transcript;
    Win32Face face(FaceOptions{}, host, std::nullopt, &transcript);
    Bediener bediener(face);
    // The welcome page, the five agreement pages, the wizard's welcome, folder and
    // option pages; then cancel.
    bediener.klicks = {"cbo_Weiter", "cbo_Weiter", "cbo_Weiter",   "cbo_Weiter", "cbo_Weiter",
                       "cbo_Akzeptieren", "CMD_Weiter", "CMD_Weiter", "CMD_Abbrechen"};
    face.OnWait([&] { bediener.Seite(); });
    const int code = face.Run([&] {
        // The message box (the system's own) also fits its text, here the longest one.
        face.Message("Diese Edit-Version von KALDORIN-Edit kann nicht installiert werden,\n"
                     "da die normale KALDORIN Version schon installiert ist!",
                     "KALDORIN", 16);
        Programm p(Laufzeit{face, host});
        face.BindHandlers(Ereignistabelle(p));
        Hauptprogramm(p);
    });
    std::cout << "dpi " << SystemDpi() << ": " << bediener.bilder << " pictures\n";
    EXPECT_EQ(code, 0) << transcript.str();
    EXPECT_TRUE(bediener.klicks.empty()) << "the road stopped early";
    EXPECT_EQ(bediener.warnungen, 3);  // the message, the close-applications prompt, the font-size notice
    EXPECT_TRUE(bediener.fehler.empty()) << testing::PrintToString(bediener.fehler);
}

// The screen, positions and sizes are in the program's pixels scaled to the DPI, also
// when the window moves to a screen of another DPI; a dump reports the program's own
// pixels all the while. Once the script's last line is played, the waiting program's
// run ends with 3, as on every face.
TEST(W32Dpi, LayoutScalesAndDumpsStayInTheProgramsPixels) {
    Win32Host host;
    std::ostringstream transcript;
    Win32Face face(FaceOptions{}, host, Script(ParseScript("dump\n")), &transcript);
    const int dpi = SystemDpi();
    EXPECT_EQ(face.ScreenWidth(), Programmeinheiten(GetSystemMetrics(SM_CXSCREEN), dpi));
    const int code = face.Run([&] {
        const Handle w = face.OpenWindow(3, 300, 200, 0);
        const Handle b = face.CreateControl(w, Art::Button, "cbo_Weiter", "Weiter >", 150, 130, 80, 24);
        HWND fenster = face.Elements().at(w).hwnd, knopf = face.Elements().at(b).hwnd;
        EXPECT_EQ(Innen(fenster).right, Skaliert(300, dpi));
        EXPECT_EQ(Ort(knopf).left, Skaliert(150, dpi));
        EXPECT_EQ(Innen(knopf).bottom, Skaliert(24, dpi));
        face.Move(b, 70, 130);
        EXPECT_EQ(Ort(knopf).left, Skaliert(70, dpi));

        RECT vorschlag{};
        GetWindowRect(fenster, &vorschlag);
        SendMessageW(fenster, WM_DPICHANGED, MAKEWPARAM(2 * dpi, 2 * dpi), reinterpret_cast<LPARAM>(&vorschlag));
        EXPECT_EQ(Innen(fenster).right, Skaliert(300, 2 * dpi));
        EXPECT_EQ(Innen(fenster).bottom, Skaliert(200, 2 * dpi));
        EXPECT_EQ(Ort(knopf).left, Skaliert(70, 2 * dpi));
        EXPECT_EQ(Ort(knopf).top, Skaliert(130, 2 * dpi));
        EXPECT_EQ(Innen(knopf).right, Skaliert(80, 2 * dpi));
        for (;;) face.EventStep();
    });
    const std::string t = transcript.str();
    EXPECT_EQ(code, 3) << "the script ran out";
    EXPECT_NE(t.find("{\"op\":\"end\",\"code\":3}"), std::string::npos) << t;
    const std::size_t dump = t.find("\"op\":\"dump\"");
    ASSERT_NE(dump, std::string::npos) << t;
    EXPECT_NE(t.find("\"w\":300,\"h\":200", dump), std::string::npos) << t;
    EXPECT_NE(t.find("\"x\":70,\"y\":130,\"w\":80,\"h\":24", dump), std::string::npos) << t;
}

}  // namespace
}  // namespace kaldorin::w32
