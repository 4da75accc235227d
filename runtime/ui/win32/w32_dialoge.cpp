// The modal dialogs: the alert with labelled buttons, the message box and the
// shell's folder dialog. With a script, each takes its answer from the next script
// line, which presses the dialog's own button.
#include "runtime/ui/win32/win32_face.h"

#include "runtime/host/win32/windows_w32.h"
#include <shlobj.h>

#include <algorithm>
#include <iostream>

#include "runtime/host/win32/breit.h"
#include "runtime/ui/script_player.h"
#include "runtime/ui/win32/shell_bindung.h"
#include "runtime/ui/win32/w32_dpi.h"
#include "runtime/ui/win32/w32_hilfen.h"

namespace kaldorin::w32 {

namespace {

constexpr wchar_t kWarnungsKlasse[] = L"KaldorinWarnung";
constexpr int kErsterKnopf = 1000;

struct Warnung {
    int antwort = 0;
    int standard = 0;
};

LRESULT CALLBACK WarnungsProzedur(HWND hwnd, UINT nachricht, WPARAM w, LPARAM l) {
    auto* z = reinterpret_cast<Warnung*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (nachricht) {
        case WM_COMMAND: {
            const int id = LOWORD(w);
            if (z && id >= kErsterKnopf && HIWORD(w) == BN_CLICKED) z->antwort = id - kErsterKnopf + 1;
            return 0;  // IDCANCEL (Escape) gives no answer: only a button does
        }
        case DM_GETDEFID:
            // Enter presses the focused button, as Space does; the default otherwise.
            if (HWND fokus = GetFocus(); fokus && GetParent(fokus) == hwnd && GetDlgCtrlID(fokus) >= kErsterKnopf)
                return MAKELRESULT(GetDlgCtrlID(fokus), DC_HASDEFID);
            if (z && z->standard > 0) return MAKELRESULT(kErsterKnopf + z->standard - 1, DC_HASDEFID);
            return 0;
        case WM_CLOSE:
            return 0;  // an alert is answered only by one of its buttons
    }
    return DefWindowProcW(hwnd, nachricht, w, l);
}

void WarnungsKlasseAnmelden() {
    static const bool angemeldet = [] {
        WNDCLASSEXW k{};
        k.cbSize = sizeof k;
        k.lpfnWndProc = WarnungsProzedur;
        k.hInstance = GetModuleHandleW(nullptr);
        k.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        k.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        k.lpszClassName = kWarnungsKlasse;
        return RegisterClassExW(&k) != 0;
    }();
    (void)angemeldet;
}

SIZE TextGroesse(const std::wstring& text, UINT flags, HFONT schrift) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ alt = SelectObject(dc, schrift);
    RECT r{0, 0, 0, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags | DT_CALCRECT);
    SelectObject(dc, alt);
    ReleaseDC(nullptr, dc);
    return SIZE{r.right, r.bottom};
}

HWND Kind(HWND eltern, const wchar_t* klasse, const std::wstring& text, DWORD stil, int x, int y, int b, int h,
          int id, HFONT schrift) {
    HWND k = CreateWindowExW(0, klasse, text.c_str(), WS_CHILD | WS_VISIBLE | stil, x, y, b, h, eltern,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(k, WM_SETFONT, reinterpret_cast<WPARAM>(schrift), FALSE);
    return k;
}

// The symbol of a message style: 16 stop, 32 question, 48 warning, 64 information.
UINT MeldungsSymbol(int style) {
    switch (style & 0x70) {
        case 16: return MB_ICONHAND;
        case 32: return MB_ICONQUESTION;
        case 48: return MB_ICONEXCLAMATION;
        case 64: return MB_ICONASTERISK;
        default: return 0;
    }
}

const wchar_t* AlertSymbol(int style) {
    if (style == 19) return IDI_WARNING;
    switch (style & 0x70) {
        case 16: return IDI_HAND;
        case 32: return IDI_QUESTION;
        case 48: return IDI_WARNING;
        case 64: return IDI_ASTERISK;
        default: return nullptr;
    }
}

// Presses OK of the message box of this thread once it is up (a thread timer runs
// inside the box's own message loop).
BOOL CALLBACK MeldungPruefen(HWND hwnd, LPARAM l) {
    wchar_t klasse[16] = {};
    GetClassNameW(hwnd, klasse, 16);
    if (IsWindowVisible(hwnd) && lstrcmpW(klasse, L"#32770") == 0) {
        *reinterpret_cast<HWND*>(l) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND MeldungSuchen() {
    HWND gefunden = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), MeldungPruefen, reinterpret_cast<LPARAM>(&gefunden));
    return gefunden;
}

void CALLBACK MeldungDruecken(HWND, UINT, UINT_PTR uhr, DWORD) {
    HWND box = MeldungSuchen();
    if (!box) return;  // not up yet: the timer comes again
    KillTimer(nullptr, uhr);
    if (HWND ok = GetDlgItem(box, IDOK)) PostMessageW(ok, BM_CLICK, 0, 0);
    else PostMessageW(box, WM_COMMAND, IDOK, 0);
}

struct Ordnerwahl {
    std::wstring start;
    std::optional<std::wstring> wahl;  // the script's folder
    bool abbrechen = false;
    bool skript = false;
};

int CALLBACK OrdnerRueckruf(HWND dialog, UINT nachricht, LPARAM, LPARAM daten) {
    if (nachricht != BFFM_INITIALIZED) return 0;
    auto* o = reinterpret_cast<Ordnerwahl*>(daten);
    if (!o->start.empty()) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(o->start.c_str()));
    if (!o->skript) return 0;
    if (o->wahl) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(o->wahl->c_str()));
    const int knopf = o->abbrechen ? IDCANCEL : IDOK;
    if (HWND k = GetDlgItem(dialog, knopf)) PostMessageW(k, BM_CLICK, 0, 0);
    else PostMessageW(dialog, WM_COMMAND, knopf, 0);
    return 0;
}

}  // namespace

int Win32Face::Alert(int style, std::string_view text, int defaultButton, std::string_view labels) {
    run_.ThrowIfStopping();
    const std::vector<std::string> beschriftungen = SplitButtons(labels);
    const int anzahl = static_cast<int>(beschriftungen.size());
    std::optional<int> skriptAntwort;
    if (options_.answerDialogs) {
        // Unattended: the first button, pressed on the real alert; the text is printed.
        transcript_.Alert(style, text, defaultButton, labels, 1);
        std::cout << AnsweredAlert(text, beschriftungen.at(0));
        skriptAntwort = 1;
    } else if (script_) {
        skriptAntwort =
            AnswerAlert(run_, transcript_, TakeAnswer(), style, text, defaultButton, labels, anzahl);
    }

    WarnungsKlasseAnmelden();
    HWND besitzer = GetActiveWindow();
    if (!ElementVon(besitzer)) {
        const auto fenster = OffeneFenster();
        besitzer = fenster.empty() ? nullptr : fenster.back();
    }
    // Laid out in 96-DPI pixels around the text as measured in the font of the DPI
    // the alert is shown at.
    const int dpi = besitzer ? FensterDpi(besitzer) : SystemDpi();
    auto px = [dpi](int wert) { return Skaliert(wert, dpi); };
    const HFONT schrift = Nachrichtenschrift(dpi);
    // "|" breaks the line, so "||" leaves an empty one; tabs keep their stops.
    const std::wstring inhalt = Zeilen(text, true);
    const UINT textFlags = DT_LEFT | DT_EXPANDTABS | DT_NOPREFIX;
    const SIZE textGroesse = TextGroesse(inhalt, textFlags, schrift);
    const wchar_t* symbol = AlertSymbol(style);
    const int textX = px(symbol ? 68 : 16);
    std::vector<int> breiten;
    int knoepfeBreite = 0;
    for (const auto& b : beschriftungen) {
        breiten.push_back(std::max<int>(px(80), TextGroesse(Breit(b), DT_SINGLELINE, schrift).cx + px(24)));
        knoepfeBreite += breiten.back() + px(8);
    }
    const int knopfHoehe = std::max<int>(px(24), TextGroesse(L"Ag", DT_SINGLELINE, schrift).cy + px(10));
    const int innenBreite = std::max<int>(textX + textGroesse.cx + px(20), knoepfeBreite + px(24));
    const int knopfY = std::max<int>(px(16) + textGroesse.cy, px(16 + 32)) + px(18);
    const int innenHoehe = knopfY + knopfHoehe + px(14);

    const DWORD stil = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN;
    const SIZE aussen = AussenGroesse(stil, WS_EX_DLGMODALFRAME, innenBreite, innenHoehe, dpi);
    const int breite = aussen.cx, hoehe = aussen.cy;
    HWND dialog = CreateWindowExW(WS_EX_DLGMODALFRAME, kWarnungsKlasse, L"", stil,
                                  std::max(0, (GetSystemMetrics(SM_CXSCREEN) - breite) / 2),
                                  std::max(0, (GetSystemMetrics(SM_CYSCREEN) - hoehe) / 2), breite, hoehe, besitzer,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!dialog) throw Laufzeitfehler("Die Meldung lässt sich nicht anzeigen.");
    Warnung zustand{0, defaultButton};
    SetWindowLongPtrW(dialog, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&zustand));
    if (symbol) {
        // The icon as large as the DPI asks, drawn from the system's own larger sizes.
        HWND bild = Kind(dialog, L"STATIC", L"", SS_ICON | SS_REALSIZECONTROL, px(20), px(16), px(32), px(32), -1,
                         schrift);
        SendMessageW(bild, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, symbol)), 0);
        SetWindowPos(bild, nullptr, px(20), px(16), px(32), px(32), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    Kind(dialog, L"STATIC", inhalt, SS_LEFT | SS_NOPREFIX, textX, px(16), textGroesse.cx + px(4), textGroesse.cy, -1,
         schrift);
    std::vector<HWND> knoepfe;
    int x = (innenBreite - knoepfeBreite + px(8)) / 2;
    for (int i = 0; i < anzahl; ++i) {
        // Labels keep their blanks: they are the button texts as the program gave them.
        const DWORD art = i + 1 == defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
        knoepfe.push_back(Kind(dialog, L"BUTTON", Breit(beschriftungen[i]), WS_TABSTOP | art, x, knopfY, breiten[i],
                               knopfHoehe, kErsterKnopf + i, schrift));
        x += breiten[i] + px(8);
    }

    // Modal: the program's windows take no input until the alert is answered.
    std::vector<HWND> gesperrt;
    for (HWND f : OffeneFenster())
        if (IsWindowEnabled(f)) {
            EnableWindow(f, FALSE);
            gesperrt.push_back(f);
        }
    ShowWindow(dialog, SW_SHOW);
    SetForegroundWindow(dialog);
    if (defaultButton >= 1 && defaultButton <= anzahl) SetFocus(knoepfe[defaultButton - 1]);
    if (skriptAntwort) PostMessageW(knoepfe[*skriptAntwort - 1], BM_CLICK, 0, 0);

    auto aufraeumen = [&] {
        for (HWND f : gesperrt) EnableWindow(f, TRUE);
        DestroyWindow(dialog);
        if (besitzer) SetActiveWindow(besitzer);
    };
    try {
        MSG msg;
        while (zustand.antwort == 0) {
            if (skriptAntwort && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
                // The click was refused (the alert is not in front): it still counts.
                std::cerr << "kaldorin-setup: Die Warnung nimmt den Klick nicht an; die Antwort wird weitergegeben.\n";
                zustand.antwort = *skriptAntwort;
                break;
            }
            if (!GetMessageW(&msg, nullptr, 0, 0)) run_.StopWith(static_cast<int>(msg.wParam));
            if (!IsDialogMessageW(dialog, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
    } catch (...) {
        aufraeumen();
        throw;
    }
    aufraeumen();
    if (!skriptAntwort) transcript_.Alert(style, text, defaultButton, labels, zustand.antwort);
    return zustand.antwort;
}

void Win32Face::Message(std::string_view text, std::string_view title, int style) {
    run_.ThrowIfStopping();
    messages_.emplace_back(text);
    const bool skriptGibtAntwort = script_ && !options_.answerDialogs;
    if (options_.answerDialogs) {
        transcript_.Message(title, text, style, 1);
        std::cout << AnsweredMessage(title, text);
        SetTimer(nullptr, 0, 20, MeldungDruecken);
    } else if (script_) {
        AnswerMessage(run_, transcript_, TakeAnswer(), title, text, style);
        SetTimer(nullptr, 0, 20, MeldungDruecken);
    }
    HWND besitzer = GetActiveWindow();
    if (!ElementVon(besitzer)) {
        const auto fenster = OffeneFenster();
        besitzer = fenster.empty() ? nullptr : fenster.back();
    }
    MessageBoxW(besitzer, Zeilen(text, false).c_str(), Breit(title).c_str(), MB_OK | MeldungsSymbol(style));
    QuitPruefen();
    if (!skriptGibtAntwort && !options_.answerDialogs) transcript_.Message(title, text, style, 1);
}

std::string Win32Face::BrowseForFolder(Handle owner, int flags, std::string_view title, std::string_view start) {
    run_.ThrowIfStopping();
    HWND besitzer = owner ? Get(owner, "Ordnerauswahl").hwnd : GetActiveWindow();
    Ordnerwahl wahl;
    const std::string anfang = FolderDialogStart(host_, start);
    wahl.start = Breit(anfang);

    std::optional<std::string> skriptAntwort;
    if (script_) {
        wahl.skript = true;
        skriptAntwort = AnswerFolder(run_, transcript_, host_, TakeAnswer(), title, start);
        if (skriptAntwort) wahl.wahl = Breit(skriptAntwort->substr(0, skriptAntwort->size() - 1));
        else wahl.abbrechen = true;
    }

    std::wstring titel = Breit(title);
    wchar_t anzeigename[MAX_PATH + 1] = {};
    BROWSEINFOW info{};
    info.hwndOwner = besitzer;
    info.pidlRoot = nullptr;  // the dialog starts at the desktop
    info.pszDisplayName = anzeigename;
    info.lpszTitle = titel.c_str();
    info.ulFlags = static_cast<UINT>(flags <= 0 ? BIF_RETURNONLYFSDIRS : flags);
    info.lpfn = OrdnerRueckruf;
    info.lParam = reinterpret_cast<LPARAM>(&wahl);
    PIDLIST_ABSOLUTE liste = Shell_BrowseForFolder(&info);
    std::string ergebnis;
    if (liste) {
        wchar_t pfad[MAX_PATH + 1] = {};
        if (Shell_GetPathFromIDList(liste, pfad)) {
            ergebnis = Schmal(pfad);
            if (!ergebnis.empty() && ergebnis.back() != '\\') ergebnis += '\\';
        }
        CoTaskMemFree(liste);  // the shell's item list, released in its own memory
    }
    QuitPruefen();
    if (wahl.skript) {
        // The script's folder is the answer whether or not it exists here, so that
        // every face reports the same folder.
        return skriptAntwort.value_or("");
    }
    if (ergebnis.empty()) transcript_.Folder(title, start, anfang, std::nullopt, true);
    else transcript_.Folder(title, start, anfang, ergebnis, false);
    return ergebnis;
}

}  // namespace kaldorin::w32
