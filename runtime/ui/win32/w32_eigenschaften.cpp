// Properties of controls and windows: texts, fonts, colours, pictures, states.
#include "runtime/ui/win32/win32_face.h"

#include "runtime/host/win32/windows_w32.h"
#include <commctrl.h>

#include "runtime/host/win32/breit.h"
#include "runtime/ui/win32/bild_w32.h"
#include "runtime/ui/win32/flaeche_w32.h"
#include "runtime/ui/win32/w32_dpi.h"
#include "runtime/ui/win32/w32_hilfen.h"

namespace kaldorin::w32 {

namespace {

// The font at the size its points have at `dpi`.
HFONT SchriftBauen(const FontState& s, int dpi) {
    LOGFONTW lf{};
    lf.lfHeight = -MulDiv(s.size > 0 ? s.size : 8, dpi, 72);
    lf.lfWeight = s.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = DEFAULT_QUALITY;
    const std::wstring name = Breit(s.name.empty() ? "MS Sans Serif" : s.name);
    lstrcpynW(lf.lfFaceName, name.c_str(), LF_FACESIZE);
    return CreateFontIndirectW(&lf);
}

bool IstText(Art art) { return art == Art::Label || art == Art::TextBox || art == Art::Button || art == Art::CheckBox; }

}  // namespace

FontState& Win32Face::SchriftVon(Element& e) { return e.istFenster ? e.fensterZustand.font : e.zustand.font; }

std::optional<Farbe>& Win32Face::TextfarbeVon(Element& e) {
    return e.istFenster ? e.fensterZustand.textColour : e.zustand.textColour;
}

void Win32Face::SchriftAnwenden(Element& e) {
    HFONT neu = SchriftBauen(SchriftVon(e), DpiVon(e));
    if (!e.istFenster) SendMessageW(e.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(neu), TRUE);
    if (e.schrift) DeleteObject(e.schrift);
    e.schrift = neu;
    if (VomFensterGemalt(e)) Neuzeichnen(e);
}

// Redraws a control; a transparent one also needs what lies below it drawn again.
void Win32Face::Neuzeichnen(Element& e) {
    if (VomFensterGemalt(e)) {
        HWND eltern = GetParent(e.hwnd);
        const RECT r = Ort(e.hwnd);
        RedrawWindow(eltern, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        return;
    }
    InvalidateRect(e.hwnd, nullptr, TRUE);
}

void Win32Face::SetText(Handle element, std::string_view text) {
    Element& e = Holen(element, "Text");
    if (e.istFenster) {
        e.fensterZustand.title = text;
        SetWindowTextW(e.hwnd, Breit(text).c_str());
        return;
    }
    e.zustand.text = text;
    if (IstText(e.zustand.kind)) {
        SetWindowTextW(e.hwnd, Breit(text).c_str());
        Neuzeichnen(e);
    }
}

std::string Win32Face::Text(Handle element) {
    Element& e = Holen(element, "Text");
    if (e.istFenster) return FensterText(e.hwnd);
    return IstText(e.zustand.kind) ? FensterText(e.hwnd) : e.zustand.text;
}

void Win32Face::SetFontName(Handle element, std::string_view name) {
    Element& e = Holen(element, "Schrift");
    SchriftVon(e).name = name;
    SchriftAnwenden(e);
}

void Win32Face::SetFontSize(Handle element, int points) {
    if (points <= 0) throw Laufzeitfehler("Ungültige Schriftgröße " + std::to_string(points) + ".");
    Element& e = Holen(element, "Schrift");
    SchriftVon(e).size = points;
    SchriftAnwenden(e);
}

void Win32Face::SetFontBold(Handle element, bool bold) {
    Element& e = Holen(element, "Schrift");
    SchriftVon(e).bold = bold;
    SchriftAnwenden(e);
}

void Win32Face::SetTextColour(Handle element, Farbe colour) {
    Element& e = Holen(element, "Textfarbe");
    TextfarbeVon(e) = colour;
    if (!e.istFenster) Neuzeichnen(e);
}

void Win32Face::SetBackColour(Handle element, Farbe colour) {
    Element& e = Holen(element, "Hintergrundfarbe");
    (e.istFenster ? e.fensterZustand.backColour : e.zustand.backColour) = colour;
    if (e.pinsel) DeleteObject(e.pinsel);
    e.pinsel = CreateSolidBrush(Farbref(colour));
    if (e.flaeche) {
        // As on the original system, a new back colour clears what was drawn.
        e.flaeche->SetzeHintergrund(Farbref(colour));
        e.ausgabe.Clear();
        InvalidateRect(e.hwnd, nullptr, FALSE);
        return;
    }
    Neuzeichnen(e);
}

void Win32Face::SetToolTip(Handle element, std::string_view text) {
    Element& e = Holen(element, "Tooltip");
    if (e.istFenster) throw Laufzeitfehler("Ein Fenster hat keinen Tooltip.");
    e.zustand.toolTip = text;
    Element& fenster = elemente_.at(e.fenster);
    if (!fenster.tooltip) {
        fenster.tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                          CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, fenster.hwnd,
                                          nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    if (!fenster.tooltip) return;  // a missing tip is no reason to stop the program
    std::wstring w = Breit(text);
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = fenster.hwnd;
    info.uId = reinterpret_cast<UINT_PTR>(e.hwnd);
    info.lpszText = w.data();
    SendMessageW(fenster.tooltip, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
    SendMessageW(fenster.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void Win32Face::SetIcon(Handle window, std::string_view resource) {
    Element& e = HolenFenster(window);
    HICON symbol = SymbolLaden(resource);
    SendMessageW(e.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(symbol));
    SendMessageW(e.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(symbol));
    e.fensterZustand.icon = resource;
}

void Win32Face::SetPicture(Handle picture, std::string_view resource) {
    Element& e = HolenArt(picture, Art::Picture, "Bild");
    HBITMAP bild = BildLaden(resource, e.flaeche->Hintergrund(), DpiVon(e));
    e.flaeche->Leeren();
    e.flaeche->Bild(bild);
    DeleteObject(bild);
    e.zustand.picture = resource;
    InvalidateRect(e.hwnd, nullptr, FALSE);
}

void Win32Face::SetTransparent(Handle label, bool transparent) {
    Element& e = HolenArt(label, Art::Label, "Transparenz");
    e.zustand.transparent = transparent;
    Neuzeichnen(e);
}

void Win32Face::SetBorder(Handle textBox, int style) {
    Element& e = HolenArt(textBox, Art::TextBox, "Rahmen");
    if (style != 0 && style != 1) throw Laufzeitfehler("Ungültiger Rahmenstil " + std::to_string(style) + ".");
    LONG_PTR erweitert = GetWindowLongPtrW(e.hwnd, GWL_EXSTYLE);
    if (style) erweitert |= WS_EX_CLIENTEDGE;
    else erweitert &= ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE);
    SetWindowLongPtrW(e.hwnd, GWL_EXSTYLE, erweitert);
    SetWindowPos(e.hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    e.zustand.border = style;
}

void Win32Face::SetSmooth(Handle progressBar, bool smooth) {
    Element& e = HolenArt(progressBar, Art::ProgressBar, "Fortschritt");
    LONG_PTR stil = GetWindowLongPtrW(e.hwnd, GWL_STYLE);
    if (smooth) stil |= PBS_SMOOTH;
    else stil &= ~static_cast<LONG_PTR>(PBS_SMOOTH);
    SetWindowLongPtrW(e.hwnd, GWL_STYLE, stil);
    e.zustand.smooth = smooth;
    InvalidateRect(e.hwnd, nullptr, TRUE);
}

void Win32Face::SetAutoRedraw(Handle surface, bool keep) {
    Element& e = Holen(surface, "Ausgabe");
    // Every surface of this face keeps its drawing; the setting is kept for the record.
    if (e.istFenster) {
        e.fensterZustand.autoRedraw = keep;
        return;
    }
    if (!e.flaeche) throw Laufzeitfehler("\"" + e.zustand.name + "\" ist keine Ausgabefläche.");
    e.zustand.autoRedraw = keep;
}

void Win32Face::SetTicked(Handle checkBox, bool ticked) {
    Element& e = HolenArt(checkBox, Art::CheckBox, "Haken");
    SendMessageW(e.hwnd, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32Face::Ticked(Handle checkBox) {
    Element& e = HolenArt(checkBox, Art::CheckBox, "Haken");
    return SendMessageW(e.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Face::SetProgressMax(Handle progressBar, int maximum) {
    Element& e = HolenArt(progressBar, Art::ProgressBar, "Fortschritt");
    if (maximum < 1) throw Laufzeitfehler("Ungültiges Maximum " + std::to_string(maximum) + ".");
    SendMessageW(e.hwnd, PBM_SETRANGE32, 0, maximum);
}

void Win32Face::SetProgress(Handle progressBar, int value) {
    Element& e = HolenArt(progressBar, Art::ProgressBar, "Fortschritt");
    const int maximum = static_cast<int>(SendMessageW(e.hwnd, PBM_GETRANGE, FALSE, 0));
    // Like the real control of the original: a value outside 0..maximum is refused.
    if (value < 0 || value > maximum) throw Laufzeitfehler("Ungültiger Fortschrittswert " + std::to_string(value) + ".");
    SendMessageW(e.hwnd, PBM_SETPOS, value, 0);
}

void Win32Face::Move(Handle element, int x, int y) {
    Element& e = Holen(element, "Position");
    if (VomFensterGemalt(e)) Neuzeichnen(e);  // where it was
    const int dpi = DpiVon(e);
    SetWindowPos(e.hwnd, nullptr, Skaliert(x, dpi), Skaliert(y, dpi), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (VomFensterGemalt(e)) Neuzeichnen(e);  // where it is now
}

void Win32Face::SetAvailable(Handle control, bool available) { EnableWindow(Holen(control, "Verfügbarkeit").hwnd, available); }

bool Win32Face::Available(Handle control) { return IsWindowEnabled(Holen(control, "Verfügbarkeit").hwnd) != FALSE; }

void Win32Face::Focus(Handle control) {
    Element& e = Holen(control, "Fokus");
    // A control that cannot take the focus (greyed out) simply does not get it.
    SetFocus(e.hwnd);
    fokus_ = control;
    tastatur_.Verlangt(control);
}

void Win32Face::SetMousePointer(int shape) {
    mauszeiger_ = shape;
    SetCursor(LoadCursorW(nullptr, shape == 11 ? IDC_WAIT : IDC_ARROW));
}

}  // namespace kaldorin::w32
