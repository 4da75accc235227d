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

void Win32Face::SchriftAnwenden(Element& e) {
    HFONT neu = SchriftBauen(e.Font(), DpiVon(e));
    if (!e.isWindow) SendMessageW(e.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(neu), TRUE);
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
    Element& e = Get(element, "Text");
    if (e.isWindow) {
        e.windowState.title = text;
        SetWindowTextW(e.hwnd, Breit(text).c_str());
        return;
    }
    e.controlState.text = text;
    if (IstText(e.controlState.kind)) {
        SetWindowTextW(e.hwnd, Breit(text).c_str());
        Neuzeichnen(e);
    }
}

std::string Win32Face::Text(Handle element) {
    Element& e = Get(element, "Text");
    if (e.isWindow) return FensterText(e.hwnd);
    return IstText(e.controlState.kind) ? FensterText(e.hwnd) : e.controlState.text;
}

void Win32Face::SetTextColour(Handle element, Farbe colour) {
    Element& e = Get(element, "Textfarbe");
    e.TextColour() = colour;
    if (!e.isWindow) Neuzeichnen(e);
}

void Win32Face::SetBackColour(Handle element, Farbe colour) {
    Element& e = Get(element, "Hintergrundfarbe");
    e.BackColour() = colour;
    if (e.pinsel) DeleteObject(e.pinsel);
    e.pinsel = CreateSolidBrush(Farbref(colour));
    if (e.flaeche) {
        // As on the original system, a new back colour clears what was drawn.
        e.flaeche->SetzeHintergrund(Farbref(colour));
        e.output.Clear();
        InvalidateRect(e.hwnd, nullptr, FALSE);
        return;
    }
    Neuzeichnen(e);
}

void Win32Face::SetToolTip(Handle element, std::string_view text) {
    Element& e = Get(element, "Tooltip");
    if (e.isWindow) throw Laufzeitfehler("Ein Fenster hat keinen Tooltip.");
    e.controlState.toolTip = text;
    Element& fenster = elements_.at(e.holder);
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
    Element& e = GetWindow(window);
    HICON symbol = SymbolLaden(resource);
    SendMessageW(e.hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(symbol));
    SendMessageW(e.hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(symbol));
    e.windowState.icon = resource;
}

void Win32Face::SetPicture(Handle picture, std::string_view resource) {
    Element& e = GetKind(picture, Art::Picture, "Bild");
    HBITMAP bild = BildLaden(resource, e.flaeche->Hintergrund(), DpiVon(e));
    e.flaeche->Leeren();
    e.flaeche->Bild(bild);
    DeleteObject(bild);
    e.controlState.picture = resource;
    InvalidateRect(e.hwnd, nullptr, FALSE);
}

void Win32Face::SetTransparent(Handle label, bool transparent) {
    Element& e = GetKind(label, Art::Label, "Transparenz");
    e.controlState.transparent = transparent;
    Neuzeichnen(e);
}

void Win32Face::SetBorder(Handle textBox, int style) {
    Element& e = GetKind(textBox, Art::TextBox, "Rahmen");
    CheckBorder(style);
    LONG_PTR erweitert = GetWindowLongPtrW(e.hwnd, GWL_EXSTYLE);
    if (style) erweitert |= WS_EX_CLIENTEDGE;
    else erweitert &= ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE);
    SetWindowLongPtrW(e.hwnd, GWL_EXSTYLE, erweitert);
    SetWindowPos(e.hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    e.controlState.border = style;
}

void Win32Face::SetSmooth(Handle progressBar, bool smooth) {
    Element& e = GetKind(progressBar, Art::ProgressBar, "Fortschritt");
    LONG_PTR stil = GetWindowLongPtrW(e.hwnd, GWL_STYLE);
    if (smooth) stil |= PBS_SMOOTH;
    else stil &= ~static_cast<LONG_PTR>(PBS_SMOOTH);
    SetWindowLongPtrW(e.hwnd, GWL_STYLE, stil);
    e.controlState.smooth = smooth;
    InvalidateRect(e.hwnd, nullptr, TRUE);
}

void Win32Face::SetTicked(Handle checkBox, bool ticked) {
    Element& e = GetKind(checkBox, Art::CheckBox, "Haken");
    SendMessageW(e.hwnd, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

bool Win32Face::Ticked(Handle checkBox) {
    Element& e = GetKind(checkBox, Art::CheckBox, "Haken");
    return SendMessageW(e.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Win32Face::SetProgressMax(Handle progressBar, int maximum) {
    Element& e = GetKind(progressBar, Art::ProgressBar, "Fortschritt");
    CheckProgressMax(maximum);
    SendMessageW(e.hwnd, PBM_SETRANGE32, 0, maximum);
}

void Win32Face::SetProgress(Handle progressBar, int value) {
    Element& e = GetKind(progressBar, Art::ProgressBar, "Fortschritt");
    const int maximum = static_cast<int>(SendMessageW(e.hwnd, PBM_GETRANGE, FALSE, 0));
    CheckProgress(value, maximum);
    SendMessageW(e.hwnd, PBM_SETPOS, value, 0);
}

void Win32Face::Move(Handle element, int x, int y) {
    Element& e = Get(element, "Position");
    if (VomFensterGemalt(e)) Neuzeichnen(e);  // where it was
    const int dpi = DpiVon(e);
    SetWindowPos(e.hwnd, nullptr, Skaliert(x, dpi), Skaliert(y, dpi), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (VomFensterGemalt(e)) Neuzeichnen(e);  // where it is now
}

void Win32Face::SetAvailable(Handle control, bool available) { EnableWindow(Get(control, "Verfügbarkeit").hwnd, available); }

bool Win32Face::Available(Handle control) { return IsWindowEnabled(Get(control, "Verfügbarkeit").hwnd) != FALSE; }

void Win32Face::Focus(Handle control) {
    Element& e = Get(control, "Fokus");
    // A control that cannot take the focus (greyed out) simply does not get it.
    SetFocus(e.hwnd);
    FocusAsked(control);
}

void Win32Face::SetMousePointer(int shape) {
    mousePointer_ = shape;
    SetCursor(LoadCursorW(nullptr, shape == kBusyPointer ? IDC_WAIT : IDC_ARROW));
}

}  // namespace kaldorin::w32
