// The script on real windows: a click is BM_CLICK on the real button, a close goes
// through WM_CLOSE, typing replaces the text of the real edit control, and a dump
// reads geometry, state and texts back from the windows.
#include "runtime/ui/win32/win32_face.h"

#include "runtime/host/win32/windows_w32.h"
#include <commctrl.h>

#include <iostream>

#include "runtime/host/win32/breit.h"
#include "runtime/ui/win32/w32_dpi.h"
#include "runtime/ui/win32/w32_hilfen.h"

namespace kaldorin::w32 {

bool Win32Face::IsAvailable(const Element& e) const { return IsWindowEnabled(e.hwnd) != FALSE; }

// The control's place in its window's inner area, in the program's pixels.
Placement Win32Face::PlaceOf(const Element& e) const {
    const RECT ort = Ort(e.hwnd);
    RECT fenster{};
    GetClientRect(GetParent(e.hwnd), &fenster);
    const int dpi = DpiVon(e);
    auto p = [dpi](LONG wert) { return Programmeinheiten(static_cast<int>(wert), dpi); };
    return {p(ort.left), p(ort.top), p(ort.right - ort.left), p(ort.bottom - ort.top), p(fenster.right), p(fenster.bottom)};
}

void Win32Face::ClickOn(Handle control, const ScriptLine& line) {
    const Element& e = elements_.at(control);
    if (e.controlState.kind == Art::Button || e.controlState.kind == Art::CheckBox) {
        // The button's own BN_CLICKED queues the handler, as a mouse click would.
        const std::size_t vorher = events_.size();
        SendMessageW(e.hwnd, BM_CLICK, 0, 0);
        ProcessPending();
        // BM_CLICK is refused by a button whose window is not in front; the click
        // still belongs to the user's action.
        if (events_.size() == vorher) {
            std::cerr << "kaldorin-setup: " << line.target << " nimmt den Klick nicht an; er wird weitergegeben.\n";
            Queue(line.target + "_Click");
        }
    } else {
        Queue(line.target + "_Click");
    }
}

void Win32Face::CloseByFrame(Handle window) { PostMessageW(elements_.at(window).hwnd, WM_CLOSE, 0, 0); }

void Win32Face::TypeInto(Handle textBox, const std::string& text) {
    HWND feld = elements_.at(textBox).hwnd;
    SetFocus(feld);
    SendMessageW(feld, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Breit(text).c_str()));
}

void Win32Face::TickBox(Handle checkBox, bool ticked) {
    SendMessageW(elements_.at(checkBox).hwnd, BM_SETCHECK, ticked ? BST_CHECKED : BST_UNCHECKED, 0);
}

WindowState Win32Face::WindowStateOf(Handle window) const {
    const Element& e = elements_.at(window);
    WindowState s = e.windowState;
    if (e.open && e.hwnd) {
        RECT aussen{}, innen{};
        GetWindowRect(e.hwnd, &aussen);
        GetClientRect(e.hwnd, &innen);
        // In the program's pixels, whatever the DPI.
        s.x = Programmeinheiten(aussen.left, e.dpi);
        s.y = Programmeinheiten(aussen.top, e.dpi);
        s.width = Programmeinheiten(innen.right, e.dpi);
        s.height = Programmeinheiten(innen.bottom, e.dpi);
        s.available = IsWindowEnabled(e.hwnd) != FALSE;
        s.title = FensterText(e.hwnd);
    }
    s.output = &e.output;
    return s;
}

ControlState Win32Face::ControlStateOf(Handle control) const {
    const Element& e = elements_.at(control);
    ControlState s = e.controlState;
    if (!e.open || !e.hwnd) return s;
    const RECT ort = Ort(e.hwnd);
    const int dpi = DpiVon(e);
    s.x = Programmeinheiten(ort.left, dpi);
    s.y = Programmeinheiten(ort.top, dpi);
    s.width = Programmeinheiten(ort.right - ort.left, dpi);
    s.height = Programmeinheiten(ort.bottom - ort.top, dpi);
    s.available = IsWindowEnabled(e.hwnd) != FALSE;
    switch (s.kind) {
        case Art::Label:
        case Art::TextBox:
        case Art::Button: s.text = FensterText(e.hwnd); break;
        case Art::CheckBox:
            s.text = FensterText(e.hwnd);
            s.ticked = SendMessageW(e.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
            break;
        case Art::ProgressBar:
            s.value = static_cast<int>(SendMessageW(e.hwnd, PBM_GETPOS, 0, 0));
            s.maximum = static_cast<int>(SendMessageW(e.hwnd, PBM_GETRANGE, FALSE, 0));
            break;
        case Art::TextArea: s.output = &e.output; break;
        default: break;
    }
    return s;
}

}  // namespace kaldorin::w32
