#pragma once
// What the faces do alike, written once: the table of windows and controls and the
// lookup by name, the misuse checks, the event step, the script's dispatch and its end,
// the target checks, the state dump and the keyboard's dispatch. A face derives from
// FaceCore<its element> and keeps only what its toolkit does, through the hooks below;
// the headless face's toolkit is the model itself, so it takes the hooks as they are.

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/runtime.h"
#include "runtime/ui/face_options.h"
#include "runtime/ui/keyboard.h"
#include "runtime/ui/run_control.h"
#include "runtime/ui/script.h"
#include "runtime/ui/script_player.h"
#include "runtime/ui/transcript.h"

namespace kaldorin {

// What every face keeps of a window or control besides its toolkit's part.
struct FaceElement {
    bool open = true;
    bool isWindow = false;
    Handle holder = 0;         // the window holding a control
    WindowState windowState;   // what the toolkit cannot tell
    ControlState controlState;
    SurfaceOutput output;      // what was drawn and printed, for the transcript

    const std::string& Name() const { return isWindow ? windowState.name : controlState.name; }
    FontState& Font() { return isWindow ? windowState.font : controlState.font; }
    std::optional<Farbe>& TextColour() { return isWindow ? windowState.textColour : controlState.textColour; }
    std::optional<Farbe>& BackColour() { return isWindow ? windowState.backColour : controlState.backColour; }

    // Records output into this surface, in its own font and text colour.
    void RecordLine(int x1, int y1, int x2, int y2) { output.AddLine(x1, y1, x2, y2, TextColour().value_or(0)); }
    void RecordText(int x, int y, std::string_view text) {
        output.texts.push_back({x, y, std::string(text), Font().size, Font().bold, TextColour().value_or(0)});
    }
    void RecordPrint(std::string_view text, bool endLine) {
        output.Print(text, Font().size, Font().bold, TextColour().value_or(0), endLine);
    }
};

// The checks every face makes of what the program asks; each throws Laufzeitfehler.
void CheckFontSize(int points);
void CheckBorder(int style);
void CheckProgressMax(int maximum);
void CheckProgress(int value, int maximum);
void CheckPrintPosition(int column, int line);
[[noreturn]] void NotASurface(const std::string& name);

template <class E>
class FaceCore : public Face {
public:
    // With a script, its lines act instead of a person and the run ends when the
    // script does; everything shown goes to `transcript` (nullptr: nowhere).
    FaceCore(const FaceOptions& options, Host& host, std::optional<Script> script, std::ostream* transcript)
        : options_(options), host_(host), script_(std::move(script)), transcript_(transcript) {}

    // The open window, form or control called `name`; throws when there is none.
    Handle FindControl(std::string_view name) override {
        const Handle h = Lookup(name);
        if (h == 0 || !elements_.at(h).open) throw Laufzeitfehler("Kein Element namens " + std::string(name) + ".");
        return h;
    }
    void BindHandlers(HandlerTable table) override { handlers_ = std::move(table); }
    // At top level: waits for the next user action (a script line, a real event) that
    // asks for a handler, and runs it. Inside a handler: runs what is pending, never
    // waits.
    void EventStep() override;

    void SetFontName(Handle element, std::string_view name) override { SetFont(element, [&](FontState& f) { f.name = name; }); }
    void SetFontSize(Handle element, int points) override {
        CheckFontSize(points);
        SetFont(element, [&](FontState& f) { f.size = points; });
    }
    void SetFontBold(Handle element, bool bold) override { SetFont(element, [&](FontState& f) { f.bold = bold; }); }
    void SelectOutput(Handle surface) override {
        const E& e = Get(surface, "Ausgabe");
        if (!IsSurface(e)) NotASurface(e.Name());
        output_ = surface;
    }
    // Every surface of every face keeps its drawing; the setting is kept for the record.
    void SetAutoRedraw(Handle surface, bool keep) override {
        E& e = Get(surface, "Ausgabe");
        if (!e.isWindow && !IsSurface(e) && e.controlState.kind != Art::Picture) NotASurface(e.Name());
        (e.isWindow ? e.windowState.autoRedraw : e.controlState.autoRedraw) = keep;
    }

    // --- For the entries and the tests ---------------------------------------------
    // Every window and control made so far, open or closed, in the order they were made.
    const std::map<Handle, E>& Elements() const { return elements_; }
    // Called each time the program starts to wait at top level and, with a script,
    // before each script line it performs there.
    void OnWait(std::function<void()> observer) { onWait_ = std::move(observer); }
    // Queues the handler of an event ("CMD_Weiter_Click"), as a user action does.
    void Queue(std::string event) { events_.push_back(std::move(event)); }
    // The texts of the message boxes shown, in order (for the unattended result).
    const std::vector<std::string>& Messages() const { return messages_; }
    // The control the program gave the focus to, "" when none or its window closed.
    std::string FocusName() const {
        auto it = elements_.find(focus_);
        return it != elements_.end() && it->second.open ? it->second.Name() : "";
    }
    int MousePointer() const { return mousePointer_; }

protected:
    // --- Hooks: what the toolkit does ---------------------------------------------
    // Whether the element has its toolkit part (a widget, a window) still.
    virtual bool Realised(const E&) const { return true; }
    // Available (not greyed out), in the control's place in its window, shown.
    virtual bool IsAvailable(const E& e) const { return e.isWindow ? e.windowState.available : e.controlState.available; }
    virtual Placement PlaceOf(const E& e) const {
        const ControlState& c = e.controlState;
        const WindowState& w = elements_.at(e.holder).windowState;
        return {c.x, c.y, c.width, c.height, w.width, w.height};
    }
    // Whether output can be drawn into it.
    virtual bool IsSurface(const E& e) const = 0;
    // The element's font (FaceElement::Font) changed.
    virtual void ApplyFont(E&) {}
    // What a script line does on the toolkit, once the line is checked and written.
    virtual void ClickOn(Handle control, const ScriptLine& line) = 0;
    virtual void CloseByFrame(Handle window) = 0;
    virtual void TypeInto(Handle textBox, const std::string& text) = 0;
    virtual void TickBox(Handle checkBox, bool ticked) = 0;
    // The state of a window or control as a dump shows it.
    virtual WindowState WindowStateOf(Handle window) const {
        const E& e = elements_.at(window);
        WindowState s = e.windowState;
        s.output = &e.output;
        return s;
    }
    virtual ControlState ControlStateOf(Handle control) const {
        const E& e = elements_.at(control);
        ControlState s = e.controlState;
        if (s.kind == Art::TextArea) s.output = &e.output;
        return s;
    }
    // The event loop: handles what the toolkit has pending, waits for a real event.
    virtual void ProcessPending() {}
    virtual void WaitForUser() { run_.ScriptEnded("das Programm auf den Benutzer wartet"); }
    // Whether a person may still act once the script has no line left.
    virtual bool HoldsAfterScript() const { return false; }
    // The keyboard (desktop faces): whether a window is shown, whether a control lies
    // in view, which control holds the toolkit's focus (0: none of ours), whether
    // `control` holds it in the active `window`; giving the focus, activating a
    // window, pressing a button.
    virtual bool Shown(const E&) const { return false; }
    virtual bool InView(const E&) const { return false; }
    virtual Handle ToolkitFocus() const { return 0; }
    virtual bool HoldsFocus(Handle, Handle) const { return true; }
    virtual void GiveFocus(Handle) {}
    virtual bool IsActive(Handle) const { return true; }
    virtual void Activate(Handle) {}
    virtual void Press(Handle) {}

    // --- The element table ---------------------------------------------------------
    Handle Add(E element) {
        const Handle h = next_++;
        elements_.emplace(h, std::move(element));
        return h;
    }
    // Any element called `name`, an open one first; 0 when there is none.
    Handle Lookup(std::string_view name) const {
        Handle closed = 0;
        for (const auto& [handle, e] : elements_) {
            if (e.Name() != name) continue;
            if (e.open) return handle;
            closed = handle;
        }
        return closed;
    }
    // The open element `element`; `purpose` names what it was wanted for.
    E& Get(Handle element, const char* purpose) {
        auto it = elements_.find(element);
        if (it == elements_.end() || !it->second.open || !Realised(it->second))
            throw Laufzeitfehler(std::string("Das Element für \"") + purpose + "\" ist nicht (mehr) offen.");
        return it->second;
    }
    E& GetWindow(Handle window) {
        E& e = Get(window, "Fenster");
        if (!e.isWindow) throw Laufzeitfehler("\"" + e.Name() + "\" ist kein Fenster.");
        return e;
    }
    E& GetKind(Handle control, Art kind, const char* purpose) {
        E& e = Get(control, purpose);
        if (e.isWindow || e.controlState.kind != kind)
            throw Laufzeitfehler("\"" + e.Name() + "\" ist kein Steuerelement der Art " + std::string(KindName(kind)) + ".");
        return e;
    }
    // Throws `message` when an open element is called `name`.
    void RefuseOpen(std::string_view name, const std::string& message) const {
        if (const Handle h = Lookup(name); h && elements_.at(h).open) throw Laufzeitfehler(message);
    }
    // The window a new control called `name` goes on, once the name is checked.
    E& WindowForNewControl(Handle window, std::string_view name) {
        E& w = GetWindow(window);
        if (name.empty()) throw Laufzeitfehler("Ein Steuerelement braucht einen Namen.");
        RefuseOpen(name, "Es gibt schon ein Element namens " + std::string(name) + ".");
        return w;
    }
    // A new window's name, checked: "Win_<number>", not open yet, a sensible size.
    std::string NewWindowName(int number, int width, int height) const {
        std::string name = "Win_" + std::to_string(number);
        RefuseOpen(name, "Das Fenster " + name + " ist schon offen.");
        if (width <= 0 || height <= 0) throw Laufzeitfehler("Ungültige Fenstergröße.");
        return name;
    }
    // The selected output surface.
    E& OutputElement() {
        if (output_ == 0) throw Laufzeitfehler("Es ist keine Ausgabefläche gewählt.");
        return Get(output_, "Ausgabe");
    }
    // Marks `element` closed; it no longer holds the output or the focus.
    void MarkClosed(Handle element) {
        elements_.at(element).open = false;
        if (element == output_) output_ = 0;
        if (element == focus_) focus_ = 0;
    }
    // The program gave `control` the focus.
    void FocusAsked(Handle control) {
        focus_ = control;
        keyboard_.Asked(control);
    }

    // --- The script ------------------------------------------------------------------
    // The next script line, for an open dialog; nothing when there is none.
    std::optional<ScriptLine> TakeAnswer() {
        if (!script_ || script_->Empty()) return std::nullopt;
        return script_->Take();
    }
    // Performs the next script line; when there is none, the run stops with 3.
    void PlayNextLine();
    void Perform(const ScriptLine& line);
    void Dump();

    // --- The keyboard -----------------------------------------------------------------
    // The newest shown window: the one the keyboard works in.
    Handle FrontWindow() const;
    std::vector<KeyTarget> KeyTargets(Handle window) const;
    // The control of the front window that holds the toolkit's focus, 0 when none.
    Handle KeyboardFocus() const;
    // Puts the keyboard focus where it belongs once a handler has returned.
    void CheckFocus();
    // `key` pressed in `window` with the focus on `focus` (0: none). True when it was
    // used here; a held key (`repeated`) presses and closes only once.
    bool KeyPressed(Key key, Handle window, Handle focus, bool repeated);

    FaceOptions options_;
    Host& host_;
    std::optional<Script> script_;
    Transcript transcript_;
    RunControl run_{transcript_};
    std::map<Handle, E> elements_;
    Handle next_ = 1;
    HandlerTable handlers_;
    std::deque<std::string> events_;
    int depth_ = 0;
    Handle output_ = 0;
    Handle focus_ = 0;
    int mousePointer_ = 0;
    std::vector<std::string> messages_;
    std::function<void()> onWait_;
    KeyboardFocusTracker keyboard_;

private:
    template <class F>
    void SetFont(Handle element, F change) {
        E& e = Get(element, "Schrift");
        change(e.Font());
        ApplyFont(e);
    }
    void RunNextHandler() {
        const std::string event = std::move(events_.front());
        events_.pop_front();
        CallHandler(handlers_, event, depth_);
    }
    // The element a script line names, checked against what the line does: the run
    // stops with 2 when it cannot act on it.
    Handle Target(const ScriptLine& line) {
        const Handle h = Lookup(line.target);
        ScriptTarget target;
        if (h != 0) target = {true, elements_.at(h).isWindow, elements_.at(h).controlState.kind};
        if (std::string fault = TargetFault(line, target); !fault.empty()) run_.ScriptFault(line, fault);
        return h;
    }
    // Why the user cannot reach `control` now, "" when it can.
    std::string WhyUnreachable(Handle control) const {
        const E& e = elements_.at(control);
        if (!e.open || !Realised(e)) return WhyNotReachable(false, false, {});
        return WhyNotReachable(true, IsAvailable(e), PlaceOf(e));
    }
};

template <class E>
void FaceCore<E>::EventStep() {
    run_.ThrowIfStopping();
    // The handler before has returned: the focus goes where it belongs before any key
    // that waits is handled.
    if (depth_ == 0) CheckFocus();
    ProcessPending();
    if (depth_ > 0) {
        if (!events_.empty()) RunNextHandler();
        return;
    }
    if (onWait_) onWait_();
    for (bool first = true; events_.empty(); first = false) {
        if (onWait_ && !first && script_) onWait_();
        if (script_ && (!script_->Empty() || !HoldsAfterScript())) {
            PlayNextLine();
            ProcessPending();
        } else {
            WaitForUser();
        }
    }
    keyboard_.Got(KeyboardFocus());
    RunNextHandler();
}

template <class E>
void FaceCore<E>::PlayNextLine() {
    if (!script_ || script_->Empty()) run_.ScriptEnded("das Programm auf den Benutzer wartet");
    Perform(script_->Take());
}

template <class E>
void FaceCore<E>::Perform(const ScriptLine& line) {
    switch (line.action) {
        case ScriptAction::Click: {
            const Handle h = Target(line);
            if (ReportAction(transcript_, line, WhyUnreachable(h))) ClickOn(h, line);
            return;
        }
        case ScriptAction::Close: {
            // Through the frame: the close event reaches the program, which decides.
            const Handle h = Target(line);
            if (ReportAction(transcript_, line, elements_.at(h).open ? "" : "window closed")) CloseByFrame(h);
            return;
        }
        case ScriptAction::Type: {
            const Handle h = Target(line);
            if (ReportAction(transcript_, line, WhyUnreachable(h))) TypeInto(h, line.text);
            return;
        }
        case ScriptAction::Tick: {
            const Handle h = Target(line);
            if (ReportAction(transcript_, line, WhyUnreachable(h))) TickBox(h, line.number == 1);
            return;
        }
        case ScriptAction::Dump: return Dump();
        case ScriptAction::Answer:
        case ScriptAction::Folder: run_.ScriptFault(line, "no alert, message or folder dialog is open");
    }
}

template <class E>
void FaceCore<E>::Dump() {
    std::vector<WindowState> windows;
    std::vector<ControlState> controls;
    for (const auto& [handle, e] : elements_) {
        if (!e.open || !Realised(e)) continue;
        if (e.isWindow) windows.push_back(WindowStateOf(handle));
        else controls.push_back(ControlStateOf(handle));
    }
    transcript_.Dump(windows, controls, FocusName(), mousePointer_);
}

template <class E>
Handle FaceCore<E>::FrontWindow() const {
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
        const E& e = it->second;
        if (e.isWindow && e.open && Realised(e) && Shown(e)) return it->first;
    }
    return 0;
}

template <class E>
std::vector<KeyTarget> FaceCore<E>::KeyTargets(Handle window) const {
    std::vector<KeyTarget> targets;
    for (const auto& [handle, e] : elements_)
        if (!e.isWindow && e.open && e.holder == window && Realised(e))
            targets.push_back({handle, e.controlState.kind, InView(e), IsAvailable(e)});
    return targets;
}

template <class E>
Handle FaceCore<E>::KeyboardFocus() const {
    const Handle h = ToolkitFocus();
    return h && !elements_.at(h).isWindow && elements_.at(h).holder == FrontWindow() ? h : 0;
}

template <class E>
void FaceCore<E>::CheckFocus() {
    const Handle window = FrontWindow();
    if (!window) return;
    const Handle target = keyboard_.Check(window, KeyTargets(window));
    if (target && !HoldsFocus(target, window)) GiveFocus(target);
    else if (!target && !IsActive(window)) Activate(window);
}

template <class E>
bool FaceCore<E>::KeyPressed(Key key, Handle window, Handle focus, bool repeated) {
    if (!window || !elements_.at(window).isWindow) return false;  // a dialog's own keys
    if (focus && (elements_.at(focus).isWindow || elements_.at(focus).holder != window)) focus = 0;
    const Art kind = focus ? elements_.at(focus).controlState.kind : Art::Label;
    switch (const KeyEffect effect = EffectOf(key, kind)) {
        case KeyEffect::None: return false;
        case KeyEffect::Forward:
        case KeyEffect::Back:
            if (const Handle target = TabTarget(KeyTargets(window), focus, effect == KeyEffect::Back)) GiveFocus(target);
            return true;
        case KeyEffect::Press:
        case KeyEffect::Toggle:
            if (!repeated && IsAvailable(elements_.at(focus))) Press(focus);
            return true;
        case KeyEffect::Close:
            if (!repeated) CloseByFrame(window);
            return true;
    }
    return false;
}

}  // namespace kaldorin
