// The event loop of the headless face: script lines become clicks, closes, typing and
// ticks; modal dialogs take their answers from the script; Run() ends the run.
#include <iostream>

#include "runtime/ui/headless/headless_face.h"
#include "runtime/ui/script_player.h"

namespace kaldorin {

void HeadlessFace::BindHandlers(HandlerTable table) { handlers_ = std::move(table); }

// --- The event loop ------------------------------------------------------------------

void HeadlessFace::EventStep() {
    run_.ThrowIfStopping();
    if (depth_ > 0) return;  // inside a handler: nothing is pending here
    if (script_.Empty()) run_.ScriptEnded("the program waits for the user");
    Perform(script_.Take());
}

void HeadlessFace::Perform(const ScriptLine& line) {
    switch (line.action) {
    case ScriptAction::Click: PerformClick(line); return;
    case ScriptAction::Close: PerformClose(line); return;
    case ScriptAction::Type: PerformType(line); return;
    case ScriptAction::Tick: PerformTick(line); return;
    case ScriptAction::Dump: Dump(); return;
    case ScriptAction::Answer:
    case ScriptAction::Folder: run_.ScriptFault(line, "no alert, message or folder dialog is open");
    }
}

void HeadlessFace::Dispatch(const std::string& handlerName) { CallHandler(handlers_, handlerName, depth_); }

// Why the user cannot reach `control` now, "" when it can.
std::string HeadlessFace::WhyNotUsable(Handle control) const {
    const Element& e = elements_.at(control);
    if (!e.open) return WhyNotReachable(false, false, {});
    const ControlState& c = e.control;
    const WindowState& w = elements_.at(e.holder).window;
    return WhyNotReachable(true, c.available, {c.x, c.y, c.width, c.height, w.width, w.height});
}

// Stops the run with 2 when `line` cannot act on the element `h` (0: none).
void HeadlessFace::CheckTarget(const ScriptLine& line, Handle h) {
    ScriptTarget target;
    if (h != 0) target = {true, elements_.at(h).isWindow, elements_.at(h).control.kind};
    if (std::string fault = TargetFault(line, target); !fault.empty()) run_.ScriptFault(line, fault);
}

void HeadlessFace::PerformClick(const ScriptLine& line) {
    Handle h = Lookup(line.target);
    CheckTarget(line, h);
    if (ReportAction(transcript_, line, WhyNotUsable(h))) Dispatch(line.target + "_Click");
}

void HeadlessFace::PerformClose(const ScriptLine& line) {
    Handle h = Lookup(line.target);
    CheckTarget(line, h);
    // The close event goes to the program; the window stays open until it closes it.
    if (ReportAction(transcript_, line, elements_.at(h).open ? "" : "window closed"))
        Dispatch(line.target + "_Close");
}

void HeadlessFace::PerformType(const ScriptLine& line) {
    Handle h = Lookup(line.target);
    CheckTarget(line, h);
    if (ReportAction(transcript_, line, WhyNotUsable(h))) elements_.at(h).control.text = line.text;
}

void HeadlessFace::PerformTick(const ScriptLine& line) {
    Handle h = Lookup(line.target);
    CheckTarget(line, h);
    if (ReportAction(transcript_, line, WhyNotUsable(h))) elements_.at(h).control.ticked = line.number == 1;
}

void HeadlessFace::Dump() {
    std::vector<WindowState> windows;
    std::vector<ControlState> controls;
    for (const auto& [handle, e] : elements_) {
        if (!e.open) continue;
        if (e.isWindow) windows.push_back(Window(handle));
        else controls.push_back(Control(handle));
    }
    transcript_.Dump(windows, controls, focus_, mousePointer_);
}

// --- Modal dialogs ---------------------------------------------------------------------

int HeadlessFace::Alert(int style, std::string_view text, int defaultButton, std::string_view labels) {
    run_.ThrowIfStopping();
    if (options_.answerDialogs) {
        transcript_.Alert(style, text, defaultButton, labels, 1);
        std::cout << AnsweredAlert(text, SplitButtons(labels).at(0));
        return 1;
    }
    const int buttons = static_cast<int>(SplitButtons(labels).size());
    return AnswerAlert(run_, transcript_, NextLine(), style, text, defaultButton, labels, buttons);
}

void HeadlessFace::Message(std::string_view text, std::string_view title, int style) {
    run_.ThrowIfStopping();
    messages_.emplace_back(text);
    if (options_.answerDialogs) {
        transcript_.Message(title, text, style, 1);
        std::cout << AnsweredMessage(title, text);
        return;
    }
    AnswerMessage(run_, transcript_, NextLine(), title, text, style);
}

std::string HeadlessFace::BrowseForFolder(Handle owner, int, std::string_view title, std::string_view start) {
    run_.ThrowIfStopping();
    if (owner != 0) Get(owner);  // the owner must be open
    return AnswerFolder(run_, transcript_, host_, NextLine(), title, start).value_or("");
}

std::optional<ScriptLine> HeadlessFace::NextLine() {
    if (script_.Empty()) return std::nullopt;
    return script_.Take();
}

// --- The run ---------------------------------------------------------------------------

int HeadlessFace::Run(const std::function<void()>& programm) { return run_.Run(programm); }

}  // namespace kaldorin
