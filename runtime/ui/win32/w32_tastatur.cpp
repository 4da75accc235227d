// The keyboard in the program's windows: Tab order, Enter, Space and Escape as the
// shared rules say, and the focus put back in the front window at each top-level wait.
// The alert, the message box and the folder dialog run their own loops with the
// dialog manager's keyboard.
#include "runtime/ui/win32/win32_face.h"

#include "runtime/host/win32/windows_w32.h"

#include <optional>

namespace kaldorin::w32 {

namespace {

std::optional<Key> TasteVon(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return std::nullopt;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return std::nullopt;
    switch (msg.wParam) {
        case VK_TAB: return GetKeyState(VK_SHIFT) < 0 ? Key::ShiftTab : Key::Tab;
        case VK_RETURN: return Key::Enter;
        case VK_SPACE: return Key::Space;
        case VK_ESCAPE: return Key::Escape;
        default: return std::nullopt;
    }
}

// Bit 30 of a key message: the key was down already (a held key repeating).
bool Wiederholt(const MSG& msg) { return (msg.lParam & (1L << 30)) != 0; }

}  // namespace

Handle Win32Face::HandleVon(HWND hwnd) const {
    if (!hwnd) return 0;
    const auto h = static_cast<Handle>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    auto it = elements_.find(h);
    return it != elements_.end() && it->second.open && it->second.hwnd == hwnd ? h : 0;
}

bool Win32Face::Shown(const Element& e) const { return IsWindowVisible(e.hwnd); }

// Moved out of view is hidden, as the program hides its control groups.
bool Win32Face::InView(const Element& e) const {
    RECT innen{}, ort{}, schnitt{};
    GetClientRect(GetParent(e.hwnd), &innen);
    GetWindowRect(e.hwnd, &ort);
    MapWindowPoints(HWND_DESKTOP, GetParent(e.hwnd), reinterpret_cast<POINT*>(&ort), 2);
    return IsWindowVisible(e.hwnd) && IntersectRect(&schnitt, &innen, &ort);
}

Handle Win32Face::ToolkitFocus() const { return HandleVon(GetFocus()); }

bool Win32Face::HoldsFocus(Handle control, Handle window) const {
    return GetFocus() == elements_.at(control).hwnd && GetForegroundWindow() == elements_.at(window).hwnd;
}

bool Win32Face::IsActive(Handle window) const { return GetForegroundWindow() == elements_.at(window).hwnd; }

void Win32Face::Activate(Handle window) { SetForegroundWindow(elements_.at(window).hwnd); }

void Win32Face::GiveFocus(Handle control) {
    auto it = elements_.find(control);
    if (it == elements_.end() || !it->second.open || !it->second.hwnd) return;
    HWND fenster = GetAncestor(it->second.hwnd, GA_ROOT);
    if (GetForegroundWindow() != fenster) SetForegroundWindow(fenster);
    SetFocus(it->second.hwnd);
    // The focus rectangle shows from the start, not only after the first key.
    SendMessageW(fenster, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    keyboard_.Got(control);
}

// A posted click: the button's own Space handling never sees the key.
void Win32Face::Press(Handle control) { PostMessageW(elements_.at(control).hwnd, BM_CLICK, 0, 0); }

bool Win32Face::TasteBearbeiten(const MSG& msg) {
    const std::optional<Key> taste = TasteVon(msg);
    return taste && KeyPressed(*taste, HandleVon(GetAncestor(msg.hwnd, GA_ROOT)), HandleVon(GetFocus()), Wiederholt(msg));
}

}  // namespace kaldorin::w32
