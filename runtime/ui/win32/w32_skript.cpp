// The script on real windows: a click is BM_CLICK on the real button, a close goes
// through WM_CLOSE, typing replaces the text of the real edit control, and a dump
// reads geometry, state and texts back from the windows.
#include "runtime/ui/win32/win32_face.h"

#include "runtime/host/win32/windows_w32.h"
#include <commctrl.h>

#include <iostream>

#include "runtime/host/win32/breit.h"
#include "runtime/ui/win32/w32_hilfen.h"

namespace kaldorin::w32 {

void Win32Face::SkriptFehler(const ScriptLine& line, const std::string& grund) {
    transcript_.Error(line.line, line.source, grund);
    std::cerr << "kaldorin-setup: script line " << line.line << " (\"" << line.source << "\"): " << grund << '\n';
    Beenden(2);
}

void Win32Face::NaechsteAktion() { Ausfuehren(skript_->Take()); }

void Win32Face::Ausfuehren(const ScriptLine& line) {
    switch (line.action) {
        case ScriptAction::Click: return Klicken(line);
        case ScriptAction::Close: return Schliessen(line);
        case ScriptAction::Type: return Tippen(line);
        case ScriptAction::Tick: return Haken(line);
        case ScriptAction::Dump: return Abbild();
        case ScriptAction::Answer:
        case ScriptAction::Folder: SkriptFehler(line, "no alert, message or folder dialog is open");
    }
}

// Why the user cannot reach `control` now, "" when it can.
std::string Win32Face::WarumNichtErreichbar(Handle control) const {
    const Element& e = elemente_.at(control);
    if (!e.offen || !e.hwnd) return "window closed";
    if (!IsWindowEnabled(e.hwnd)) return "not available";
    const RECT ort = Ort(e.hwnd);
    RECT fenster{};
    GetClientRect(GetParent(e.hwnd), &fenster);
    const bool draussen = ort.right <= 0 || ort.bottom <= 0 || ort.left >= fenster.right || ort.top >= fenster.bottom;
    if (ort.left <= -1000 || ort.top <= -1000 || draussen) return "out of view";
    return "";
}

void Win32Face::Klicken(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    if (h == 0) SkriptFehler(line, "no control named " + line.target);
    if (elemente_.at(h).istFenster) SkriptFehler(line, line.target + " is a window; use close");
    const std::string warum = WarumNichtErreichbar(h);
    transcript_.Click(line.target, warum);
    if (!warum.empty()) return;
    const Element& e = elemente_.at(h);
    if (e.zustand.kind == Art::Button || e.zustand.kind == Art::CheckBox) {
        // The button's own BN_CLICKED queues the handler, as a mouse click would.
        const std::size_t vorher = ereignisse_.size();
        SendMessageW(e.hwnd, BM_CLICK, 0, 0);
        AnstehendesBearbeiten();
        // BM_CLICK is refused by a button whose window is not in front; the click
        // still belongs to the user's action.
        if (ereignisse_.size() == vorher) {
            std::cerr << "kaldorin-setup: " << line.target << " did not take the click; it is passed on\n";
            Melden(line.target + "_Click");
        }
    } else {
        Melden(line.target + "_Click");
    }
}

void Win32Face::Schliessen(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    if (h == 0) SkriptFehler(line, "no window named " + line.target);
    const Element& e = elemente_.at(h);
    if (!e.istFenster) SkriptFehler(line, line.target + " is not a window");
    transcript_.Close(line.target, e.offen ? "" : "window closed");
    // Through the frame: WM_CLOSE reaches the program, which decides.
    if (e.offen) PostMessageW(e.hwnd, WM_CLOSE, 0, 0);
}

void Win32Face::Tippen(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    if (h == 0 || elemente_.at(h).istFenster || elemente_.at(h).zustand.kind != Art::TextBox)
        SkriptFehler(line, "no text box named " + line.target);
    const std::string warum = WarumNichtErreichbar(h);
    transcript_.Type(line.target, line.text, warum);
    if (!warum.empty()) return;
    HWND feld = elemente_.at(h).hwnd;
    SetFocus(feld);
    SendMessageW(feld, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Breit(line.text).c_str()));
}

void Win32Face::Haken(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    if (h == 0 || elemente_.at(h).istFenster || elemente_.at(h).zustand.kind != Art::CheckBox)
        SkriptFehler(line, "no check box named " + line.target);
    const std::string warum = WarumNichtErreichbar(h);
    transcript_.Tick(line.target, line.number == 1, warum);
    if (!warum.empty()) return;
    SendMessageW(elemente_.at(h).hwnd, BM_SETCHECK, line.number == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

WindowState Win32Face::FensterZustand(Handle window) const {
    const Element& e = elemente_.at(window);
    WindowState s = e.fensterZustand;
    if (e.offen && e.hwnd) {
        RECT aussen{}, innen{};
        GetWindowRect(e.hwnd, &aussen);
        GetClientRect(e.hwnd, &innen);
        s.x = aussen.left;
        s.y = aussen.top;
        s.width = innen.right;
        s.height = innen.bottom;
        s.available = IsWindowEnabled(e.hwnd) != FALSE;
        s.title = FensterText(e.hwnd);
    }
    s.output = &e.ausgabe;
    return s;
}

ControlState Win32Face::Zustand(Handle control) const {
    const Element& e = elemente_.at(control);
    ControlState s = e.zustand;
    if (!e.offen || !e.hwnd) return s;
    const RECT ort = Ort(e.hwnd);
    s.x = ort.left;
    s.y = ort.top;
    s.width = ort.right - ort.left;
    s.height = ort.bottom - ort.top;
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
        case Art::TextArea: s.output = &e.ausgabe; break;
        default: break;
    }
    return s;
}

void Win32Face::Abbild() {
    std::vector<WindowState> fenster;
    std::vector<ControlState> controls;
    for (const auto& [handle, e] : elemente_) {
        if (!e.offen || !e.hwnd) continue;
        if (e.istFenster) fenster.push_back(FensterZustand(handle));
        else controls.push_back(Zustand(handle));
    }
    std::string fokus;
    if (auto it = elemente_.find(fokus_); it != elemente_.end() && it->second.offen) fokus = it->second.zustand.name;
    transcript_.Dump(fenster, controls, fokus, mauszeiger_);
}

std::optional<ScriptLine> Win32Face::AntwortNehmen() {
    if (!skript_ || skript_->Empty()) return std::nullopt;
    return skript_->Take();
}

namespace {
bool IstWindowsPfad(std::string_view pfad) {
    const bool laufwerk = pfad.size() >= 2 && pfad[1] == ':' &&
                          ((pfad[0] >= 'A' && pfad[0] <= 'Z') || (pfad[0] >= 'a' && pfad[0] <= 'z'));
    return laufwerk || pfad.starts_with("\\\\");
}
}  // namespace

// The folder a "folder PATH" line picks, as a Windows path with one trailing
// backslash; nothing (and `grund`) when the line names no usable path.
std::optional<std::string> Win32Face::OrdnerAntwort(const ScriptLine& line, std::string& grund) {
    std::string pfad = line.text;
    if (pfad.starts_with('/')) {
        try {
            pfad = host_.WindowsPath(pfad);
        } catch (const std::exception& e) {
            grund = std::string("the host cannot name this path: ") + e.what();
            return std::nullopt;
        }
    } else if (!IstWindowsPfad(pfad)) {
        grund = "expected a Windows path (\"D:\\Daten\") or a host path starting with /";
        return std::nullopt;
    }
    while (!pfad.empty() && pfad.back() == '\\') pfad.pop_back();
    return pfad + '\\';
}

}  // namespace kaldorin::w32
