// The script on real windows: a click is BM_CLICK on the real button, a close goes
// through WM_CLOSE, typing replaces the text of the real edit control, and a dump
// reads geometry, state and texts back from the windows.
#include "runtime/ui/win32/win32_face.h"

#include "runtime/host/win32/windows_w32.h"
#include <commctrl.h>

#include <iostream>

#include "runtime/host/win32/breit.h"
#include "runtime/ui/script_player.h"
#include "runtime/ui/win32/w32_dpi.h"
#include "runtime/ui/win32/w32_hilfen.h"

namespace kaldorin::w32 {

void Win32Face::NaechsteAktion() { Ausfuehren(skript_->Take()); }

void Win32Face::Ausfuehren(const ScriptLine& line) {
    switch (line.action) {
        case ScriptAction::Click: return Klicken(line);
        case ScriptAction::Close: return Schliessen(line);
        case ScriptAction::Type: return Tippen(line);
        case ScriptAction::Tick: return Haken(line);
        case ScriptAction::Dump: return Abbild();
        case ScriptAction::Answer:
        case ScriptAction::Folder: lauf_.ScriptFault(line, "no alert, message or folder dialog is open");
    }
}

// Why the user cannot reach `control` now, "" when it can.
std::string Win32Face::WarumNichtErreichbar(Handle control) const {
    const Element& e = elemente_.at(control);
    if (!e.offen || !e.hwnd) return WhyNotReachable(false, false, {});
    const RECT ort = Ort(e.hwnd);
    RECT fenster{};
    GetClientRect(GetParent(e.hwnd), &fenster);
    const int dpi = DpiVon(e);
    auto p = [dpi](LONG wert) { return Programmeinheiten(static_cast<int>(wert), dpi); };
    return WhyNotReachable(true, IsWindowEnabled(e.hwnd) != FALSE,
                           {p(ort.left), p(ort.top), p(ort.right - ort.left), p(ort.bottom - ort.top),
                            p(fenster.right), p(fenster.bottom)});
}

void Win32Face::ZielPruefen(const ScriptLine& line, Handle h) {
    ScriptTarget ziel;
    if (h != 0) ziel = {true, elemente_.at(h).istFenster, elemente_.at(h).zustand.kind};
    if (std::string fehler = TargetFault(line, ziel); !fehler.empty()) lauf_.ScriptFault(line, fehler);
}

void Win32Face::Klicken(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    ZielPruefen(line, h);
    if (!ReportAction(transcript_, line, WarumNichtErreichbar(h))) return;
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
    ZielPruefen(line, h);
    const Element& e = elemente_.at(h);
    // Through the frame: WM_CLOSE reaches the program, which decides.
    if (ReportAction(transcript_, line, e.offen ? "" : "window closed")) PostMessageW(e.hwnd, WM_CLOSE, 0, 0);
}

void Win32Face::Tippen(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    ZielPruefen(line, h);
    if (!ReportAction(transcript_, line, WarumNichtErreichbar(h))) return;
    HWND feld = elemente_.at(h).hwnd;
    SetFocus(feld);
    SendMessageW(feld, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Breit(line.text).c_str()));
}

void Win32Face::Haken(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    ZielPruefen(line, h);
    if (!ReportAction(transcript_, line, WarumNichtErreichbar(h))) return;
    SendMessageW(elemente_.at(h).hwnd, BM_SETCHECK, line.number == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
}

WindowState Win32Face::FensterZustand(Handle window) const {
    const Element& e = elemente_.at(window);
    WindowState s = e.fensterZustand;
    if (e.offen && e.hwnd) {
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
    s.output = &e.ausgabe;
    return s;
}

ControlState Win32Face::Zustand(Handle control) const {
    const Element& e = elemente_.at(control);
    ControlState s = e.zustand;
    if (!e.offen || !e.hwnd) return s;
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

}  // namespace kaldorin::w32
