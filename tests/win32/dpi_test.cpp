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

struct Text {
    int breite = 0;       // the longest line
    int zeilen = 0;
    TEXTMETRICW tm{};
};

// `text` in `schrift`, broken at `umbruch` pixels (0: one line).
Text Messen(HFONT schrift, const std::wstring& text, int umbruch) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ alt = SelectObject(dc, schrift);
    Text t;
    GetTextMetricsW(dc, &t.tm);
    RECT r{0, 0, umbruch, 0};
    const UINT flags = DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (umbruch > 0 ? DT_WORDBREAK : DT_SINGLELINE);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    SelectObject(dc, alt);
    ReleaseDC(nullptr, dc);
    t.breite = r.right;
    t.zeilen = t.tm.tmHeight > 0 ? (r.bottom + t.tm.tmHeight - 1) / t.tm.tmHeight : 0;
    return t;
}

// What of the text of `hwnd` sticks out of it ("" when nothing does). A label's
// lines break at its width and their baselines lie inside it; a button's caption
// keeps a margin to the border; a check box's text starts right of its box.
std::string Ueberstand(HWND hwnd, HFONT schrift, Art art, int dpi) {
    const std::wstring text = Breit(FensterText(hwnd));
    if (text.empty() || !schrift) return "";
    const RECT r = Innen(hwnd);
    const int b = r.right, h = r.bottom;
    std::ostringstream o;
    if (art == Art::Label) {
        const Text t = Messen(schrift, text, b);
        const int unten = (t.zeilen - 1) * t.tm.tmHeight + t.tm.tmAscent;
        if (t.breite > b || unten > h) o << "text " << t.breite << "x" << unten << " in " << b << "x" << h;
    } else if (art == Art::Button || art == Art::CheckBox) {
        const Text t = Messen(schrift, text, 0);
        const int vorne = art == Art::Button ? Skaliert(4, dpi) : Skaliert(13 + 4, dpi);
        const int hinten = art == Art::Button ? Skaliert(4, dpi) : 0;
        if (vorne + t.breite + hinten > b || t.tm.tmHeight > h)
            o << "text " << t.breite << "x" << t.tm.tmHeight << " + margins " << vorne + hinten << " in " << b
              << "x" << h;
    }
    return o.str();
}

// Every text of the face's open windows that does not fit, one line each.
std::vector<std::string> Ueberstaende(const Win32Face& face, const std::string& wo) {
    std::vector<std::string> fehler;
    for (const auto& [handle, e] : face.Elemente()) {
        if (!e.offen || !e.hwnd) continue;
        const std::string name = e.istFenster ? e.fensterZustand.name : e.zustand.name;
        if (!e.istFenster) {
            const std::string u = Ueberstand(e.hwnd, e.schrift, e.zustand.kind, face.DpiVon(e));
            if (!u.empty()) fehler.push_back(wo + ": " + name + " \"" + FensterText(e.hwnd) + "\": " + u);
        }
        if (e.flaeche) {
            // What was printed or drawn as text stays inside the surface.
            const RECT t = e.flaeche->Beschrieben();
            const SIZE g = e.flaeche->Groesse();
            if (t.right > g.cx || t.bottom > g.cy)
                fehler.push_back(wo + ": " + name + ": text reaches " + std::to_string(t.right) + "x" +
                                 std::to_string(t.bottom) + " on " + std::to_string(g.cx) + "x" + std::to_string(g.cy));
        }
    }
    return fehler;
}

// --- Pictures ------------------------------------------------------------------------

// The whole screen as a 24-bit BMP in $KALDORIN_SCREENSHOTS/NAME.bmp (nothing when unset).
void Foto(const std::string& name) {
    const char* ordner = std::getenv("KALDORIN_SCREENSHOTS");
    if (!ordner || !*ordner) return;
    const int b = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    BITMAPINFOHEADER kopf{};
    kopf.biSize = sizeof kopf;
    kopf.biWidth = b;
    kopf.biHeight = h;  // bottom-up, as the file keeps it
    kopf.biPlanes = 1;
    kopf.biBitCount = 24;
    kopf.biCompression = BI_RGB;
    const DWORD zeile = (static_cast<DWORD>(b) * 3 + 3) & ~3u;
    kopf.biSizeImage = zeile * static_cast<DWORD>(h);
    void* bits = nullptr;
    HDC schirm = GetDC(nullptr);
    HDC speicher = CreateCompatibleDC(schirm);
    HBITMAP bild = CreateDIBSection(schirm, reinterpret_cast<BITMAPINFO*>(&kopf), DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ alt = SelectObject(speicher, bild);
    BitBlt(speicher, 0, 0, b, h, schirm, 0, 0, SRCCOPY);
    GdiFlush();
    BITMAPFILEHEADER datei{};
    datei.bfType = 0x4D42;
    datei.bfOffBits = sizeof datei + sizeof kopf;
    datei.bfSize = datei.bfOffBits + kopf.biSizeImage;
    if (FILE* f = std::fopen((std::string(ordner) + "\\" + name + ".bmp").c_str(), "wb")) {
        std::fwrite(&datei, sizeof datei, 1, f);
        std::fwrite(&kopf, sizeof kopf, 1, f);
        std::fwrite(bits, 1, kopf.biSizeImage, f);
        std::fclose(f);
    }
    SelectObject(speicher, alt);
    DeleteObject(bild);
    DeleteDC(speicher);
    ReleaseDC(nullptr, schirm);
}

// --- The road through every page -----------------------------------------------------

// A user at the keyboard of this thread: at each wait of the program it looks at
// the page (picture, measure) and clicks the next button; an alert is looked at and
// answered with its first button.
struct Bediener {
    explicit Bediener(Win32Face& f) : face(f) {
        aktiv = this;
        uhr = SetTimer(nullptr, 0, 150, Ticken);
    }
    ~Bediener() {
        KillTimer(nullptr, uhr);
        aktiv = nullptr;
    }

    void Seite() {
        for (const auto& [handle, e] : face.Elemente())
            if (e.istFenster && e.offen && e.hwnd) UpdateWindow(e.hwnd);
        const std::string name = Name("seite");
        Foto(name);
        for (auto& f : Ueberstaende(face, name)) fehler.push_back(f);
        if (klicks.empty()) return;
        face.Melden(klicks.front() + "_Click");
        klicks.erase(klicks.begin());
    }

    // An alert or message box that is up and not yet answered.
    static BOOL CALLBACK WarnungSuchen(HWND hwnd, LPARAM l) {
        wchar_t klasse[32] = {};
        GetClassNameW(hwnd, klasse, 32);
        if (!IsWindowVisible(hwnd) || (lstrcmpW(klasse, L"KaldorinWarnung") != 0 && lstrcmpW(klasse, L"#32770") != 0))
            return TRUE;
        if (GetPropW(hwnd, L"beantwortet")) return TRUE;
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
        if (!u.empty()) b->fehler.push_back(b->letzteWarnung + ": \"" + FensterText(kind) + "\": " + u);
        if (art == Art::Button && !b->ersterKnopf) b->ersterKnopf = kind;
        return TRUE;
    }

    void Warnung(HWND warnung) {
        UpdateWindow(warnung);
        letzteWarnung = Name("warnung");
        Foto(letzteWarnung);
        ersterKnopf = nullptr;
        EnumChildWindows(warnung, KindPruefen, reinterpret_cast<LPARAM>(this));
        ++warnungen;
        if (ersterKnopf)
            PostMessageW(warnung, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(ersterKnopf), BN_CLICKED),
                         reinterpret_cast<LPARAM>(ersterKnopf));
        else
            PostMessageW(warnung, WM_COMMAND, IDOK, 0);
    }

    static void CALLBACK Ticken(HWND, UINT, UINT_PTR, DWORD) {
        if (!aktiv) return;
        if (GetTickCount64() > aktiv->schluss) PostQuitMessage(9);  // never hang the test run
        HWND warnung = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), WarnungSuchen, reinterpret_cast<LPARAM>(&warnung));
        if (warnung) {
            SetPropW(warnung, L"beantwortet", reinterpret_cast<HANDLE>(1));
            aktiv->Warnung(warnung);
        }
    }

    std::string Name(const char* art) {
        char nr[8];
        std::snprintf(nr, sizeof nr, "%02d", ++bilder);
        return praefix + nr + "-" + art;
    }

    static inline Bediener* aktiv = nullptr;
    Win32Face& face;
    UINT_PTR uhr = 0;
    std::string praefix;  // of the pictures' names
    std::vector<std::string> klicks;
    std::vector<std::string> fehler;
    std::string letzteWarnung;
    HWND ersterKnopf = nullptr;
    ULONGLONG schluss = GetTickCount64() + 120000;
    int bilder = 0;
    int warnungen = 0;
};

TEST(W32Dpi, EveryTextFitsOnEveryPageAndAlertOfTheRoad) {
    wchar_t selbst[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, selbst, MAX_PATH);
    std::wstring medium(selbst);
    medium = medium.substr(0, medium.find_last_of(L'\\') + 1) + L"t0e.px_";
    if (GetFileAttributesW(medium.c_str()) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "the road needs the demo medium beside this program (wine_dpi_test.sh)";
    Win32Host host;
    std::ostringstream transcript;
    Win32Face face(FaceOptions{}, host, std::nullopt, &transcript);
    Bediener bediener(face);
    // The welcome page, the five agreement pages, the wizard's welcome, folder and
    // option pages; then cancel.
    bediener.klicks = {"cbo_Weiter", "cbo_Weiter", "cbo_Weiter",   "cbo_Weiter", "cbo_Weiter",
                       "cbo_Akzeptieren", "CMD_Weiter", "CMD_Weiter", "CMD_Abbrechen"};
    SIZE lizenz{};
    face.BeimWarten([&] {
        for (const auto& [handle, e] : face.Elemente())
            if (e.istFenster && e.offen && e.fensterZustand.name == "Win_3") lizenz = SIZE{Innen(e.hwnd).right, Innen(e.hwnd).bottom};
        bediener.Seite();
    });
    const int code = face.Run([&] {
        Programm p(Laufzeit{face, host});
        face.BindHandlers(Ereignistabelle(p));
        Hauptprogramm(p);
    });

    const int dpi = SystemDpi();
    std::cout << "dpi " << dpi << ": licence window " << lizenz.cx << "x" << lizenz.cy << ", "
              << bediener.bilder << " pictures\n";
    EXPECT_EQ(code, 0) << transcript.str();
    EXPECT_TRUE(bediener.klicks.empty()) << "the road stopped early";
    EXPECT_EQ(bediener.warnungen, 2);  // the close-applications prompt and the font-size notice
    EXPECT_EQ(lizenz.cx, Skaliert(500, dpi));
    EXPECT_EQ(lizenz.cy, Skaliert(400, dpi));
    std::string alle;
    for (const auto& f : bediener.fehler) alle += f + "\n";
    EXPECT_TRUE(bediener.fehler.empty()) << alle;
}

// The message box (the system's own) also fits its text, here the longest one.
TEST(W32Dpi, TheMessageBoxFitsItsText) {
    Win32Host host;
    Win32Face face(FaceOptions{}, host, std::nullopt, nullptr);
    Bediener bediener(face);
    bediener.praefix = "meldung-";
    face.Message("Diese Edit-Version von KALDORIN-Edit kann nicht installiert werden,\n"
                 "da die normale KALDORIN Version schon installiert ist!",
                 "KALDORIN", 16);
    EXPECT_EQ(bediener.warnungen, 1);
    std::string alle;
    for (const auto& f : bediener.fehler) alle += f + "\n";
    EXPECT_TRUE(bediener.fehler.empty()) << alle;
}

// Positions and sizes scale with the window's DPI, also when the window moves to a
// screen of another DPI; a dump reports the program's own pixels all the while.
TEST(W32Dpi, LayoutScalesAndDumpsStayInTheProgramsPixels) {
    Win32Host host;
    std::ostringstream transcript;
    Win32Face face(FaceOptions{}, host, Script(ParseScript("dump\n")), &transcript);
    const int dpi = SystemDpi();
    HWND fenster = nullptr, knopf = nullptr;
    face.Run([&] {
        const Handle w = face.OpenWindow(3, 300, 200, 0);
        const Handle b = face.CreateControl(w, Art::Button, "cbo_Weiter", "Weiter >", 150, 130, 80, 24);
        fenster = face.Elemente().at(w).hwnd;
        knopf = face.Elemente().at(b).hwnd;
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
    const std::size_t dump = t.find("\"op\":\"dump\"");
    ASSERT_NE(dump, std::string::npos) << t;
    EXPECT_NE(t.find("\"w\":300,\"h\":200", dump), std::string::npos) << t;
    EXPECT_NE(t.find("\"x\":70,\"y\":130,\"w\":80,\"h\":24", dump), std::string::npos) << t;
}

}  // namespace
}  // namespace kaldorin::w32
