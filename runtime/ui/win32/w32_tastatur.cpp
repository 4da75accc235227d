// The keyboard in the program's windows: Tab order, Enter, Space and Escape as the
// shared rules say, and the focus put back in the front window at each top-level wait.
// The alert, the message box and the folder dialog run their own loops with the
// dialog manager's keyboard.
#include "runtime/ui/win32/win32_face.h"

#include "runtime/host/win32/windows_w32.h"

#include <optional>

namespace kaldorin::w32 {

namespace {

std::optional<Taste> TasteVon(const MSG& msg) {
    if (msg.message != WM_KEYDOWN) return std::nullopt;
    if (GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0) return std::nullopt;
    switch (msg.wParam) {
        case VK_TAB: return GetKeyState(VK_SHIFT) < 0 ? Taste::UmschaltTab : Taste::Tab;
        case VK_RETURN: return Taste::Enter;
        case VK_SPACE: return Taste::Leertaste;
        case VK_ESCAPE: return Taste::Escape;
        default: return std::nullopt;
    }
}

// Bit 30 of a key message: the key was down already (a held key repeating).
bool Wiederholt(const MSG& msg) { return (msg.lParam & (1L << 30)) != 0; }

}  // namespace

Handle Win32Face::HandleVon(HWND hwnd) const {
    if (!hwnd) return 0;
    const auto h = static_cast<Handle>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    auto it = elemente_.find(h);
    return it != elemente_.end() && it->second.offen && it->second.hwnd == hwnd ? h : 0;
}

Handle Win32Face::Vorderfenster() const {
    for (auto it = elemente_.rbegin(); it != elemente_.rend(); ++it) {
        const Element& e = it->second;
        if (e.istFenster && e.offen && e.hwnd && IsWindowVisible(e.hwnd)) return it->first;
    }
    return 0;
}

std::vector<Tastenziel> Win32Face::Tastenziele(Handle fenster) const {
    std::vector<Tastenziel> ziele;
    for (const auto& [handle, e] : elemente_) {
        if (e.istFenster || !e.offen || e.fenster != fenster || !e.hwnd) continue;
        // Moved out of view is hidden, as the program hides its control groups.
        RECT innen{}, ort{}, schnitt{};
        GetClientRect(GetParent(e.hwnd), &innen);
        GetWindowRect(e.hwnd, &ort);
        MapWindowPoints(HWND_DESKTOP, GetParent(e.hwnd), reinterpret_cast<POINT*>(&ort), 2);
        const bool gezeigt = IsWindowVisible(e.hwnd) && IntersectRect(&schnitt, &innen, &ort);
        ziele.push_back({handle, e.zustand.kind, gezeigt, IsWindowEnabled(e.hwnd) != FALSE});
    }
    return ziele;
}

Handle Win32Face::Tastenfokus() const {
    const Handle h = HandleVon(GetFocus());
    return h && !elemente_.at(h).istFenster && elemente_.at(h).fenster == Vorderfenster() ? h : 0;
}

void Win32Face::FokusGeben(Handle control) {
    auto it = elemente_.find(control);
    if (it == elemente_.end() || !it->second.offen || !it->second.hwnd) return;
    HWND fenster = GetAncestor(it->second.hwnd, GA_ROOT);
    if (GetForegroundWindow() != fenster) SetForegroundWindow(fenster);
    SetFocus(it->second.hwnd);
    // The focus rectangle shows from the start, not only after the first key.
    SendMessageW(fenster, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
    tastatur_.Bekommen(control);
}

void Win32Face::FokusPruefen() {
    const Handle fenster = Vorderfenster();
    if (!fenster) return;
    const Handle ziel = tastatur_.Pruefen(fenster, Tastenziele(fenster));
    HWND oben = elemente_.at(fenster).hwnd;
    if (ziel && (GetFocus() != elemente_.at(ziel).hwnd || GetForegroundWindow() != oben)) FokusGeben(ziel);
    else if (!ziel && GetForegroundWindow() != oben) SetForegroundWindow(oben);
}

bool Win32Face::TasteBearbeiten(const MSG& msg) {
    const std::optional<Taste> taste = TasteVon(msg);
    if (!taste) return false;
    const Handle fenster = HandleVon(GetAncestor(msg.hwnd, GA_ROOT));
    if (!fenster || !elemente_.at(fenster).istFenster) return false;
    Handle fokus = HandleVon(GetFocus());
    if (fokus && (elemente_.at(fokus).istFenster || elemente_.at(fokus).fenster != fenster)) fokus = 0;
    const Art art = fokus ? elemente_.at(fokus).zustand.kind : Art::Label;
    switch (const Tastenwirkung wirkung = Wirkung(*taste, art)) {
        case Tastenwirkung::Keine: return false;
        case Tastenwirkung::Vor:
        case Tastenwirkung::Zurueck:
            if (const Handle ziel = TabZiel(Tastenziele(fenster), fokus, wirkung == Tastenwirkung::Zurueck))
                FokusGeben(ziel);
            return true;
        case Tastenwirkung::Druecken:
        case Tastenwirkung::Umschalten:
            // A held key presses once; the button's own Space handling never sees it.
            if (!Wiederholt(msg) && IsWindowEnabled(elemente_.at(fokus).hwnd))
                PostMessageW(elemente_.at(fokus).hwnd, BM_CLICK, 0, 0);
            return true;
        case Tastenwirkung::Schliessen:
            if (!Wiederholt(msg)) PostMessageW(elemente_.at(fenster).hwnd, WM_CLOSE, 0, 0);
            return true;
    }
    return false;
}

}  // namespace kaldorin::w32
