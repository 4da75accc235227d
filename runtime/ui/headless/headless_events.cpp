// The event loop of the headless face: script lines become clicks, closes, typing and
// ticks; modal dialogs take their answers from the script; Run() ends the run.
#include <iostream>

#include "runtime/ui/headless/headless_face.h"

namespace kaldorin {
namespace {

// Counts the handlers running, so that a nested event step knows it is nested.
class Nesting {
public:
    explicit Nesting(int& depth) : depth_(depth) { ++depth_; }
    ~Nesting() { --depth_; }
    Nesting(const Nesting&) = delete;
    Nesting& operator=(const Nesting&) = delete;

private:
    int& depth_;
};

bool IsWindowsPath(std::string_view path) {
    bool drive = path.size() >= 2 && path[1] == ':' &&
                 ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return drive || path.starts_with("\\\\");
}

}  // namespace

void HeadlessFace::BindHandlers(HandlerTable table) { handlers_ = std::move(table); }

void HeadlessFace::ThrowIfStopping() const {
    if (stopping_) throw RunStop{*stopping_};
}

void HeadlessFace::Stop(int code) {
    stopping_ = code;
    throw RunStop{code};
}

void HeadlessFace::StopForScript(const ScriptLine& line, const std::string& reason) {
    transcript_.Error(line.line, line.source, reason);
    std::cerr << "kaldorin-setup: script line " << line.line << " (\"" << line.source << "\"): " << reason << '\n';
    Stop(2);
}

// --- The event loop ------------------------------------------------------------------

void HeadlessFace::EventStep() {
    ThrowIfStopping();
    if (depth_ > 0) return;  // inside a handler: nothing is pending here
    if (script_.Empty()) {
        std::cerr << "kaldorin-setup: the script ended while the program waits for the user\n";
        Stop(3);
    }
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
    case ScriptAction::Folder: StopForScript(line, "no alert, message or folder dialog is open");
    }
}

void HeadlessFace::Dispatch(const std::string& handlerName) {
    auto handler = handlers_.find(handlerName);
    if (handler == handlers_.end()) return;  // an event without a handler is dropped
    Nesting nesting(depth_);
    handler->second();
}

// Why the user cannot reach `control` now, "" when it can.
std::string HeadlessFace::WhyNotUsable(Handle control) const {
    const Element& e = elements_.at(control);
    if (!e.open) return "window closed";
    const ControlState& c = e.control;
    if (!c.available) return "not available";
    const WindowState& w = elements_.at(e.holder).window;
    bool outside = c.x + c.width <= 0 || c.y + c.height <= 0 || c.x >= w.width || c.y >= w.height;
    if (c.x <= -1000 || c.y <= -1000 || outside) return "out of view";
    return "";
}

void HeadlessFace::PerformClick(const ScriptLine& line) {
    Handle h = Lookup(line.target);
    if (h == 0) StopForScript(line, "no control named " + line.target);
    if (elements_.at(h).isWindow) StopForScript(line, line.target + " is a window; use close");
    std::string why = WhyNotUsable(h);
    transcript_.Click(line.target, why);
    if (why.empty()) Dispatch(line.target + "_Click");
}

void HeadlessFace::PerformClose(const ScriptLine& line) {
    Handle h = Lookup(line.target);
    if (h == 0) StopForScript(line, "no window named " + line.target);
    if (!elements_.at(h).isWindow) StopForScript(line, line.target + " is not a window");
    // The close event goes to the program; the window stays open until it closes it.
    bool open = elements_.at(h).open;
    transcript_.Close(line.target, open ? "" : "window closed");
    if (open) Dispatch(line.target + "_Close");
}

void HeadlessFace::PerformType(const ScriptLine& line) {
    Handle h = Lookup(line.target);
    if (h == 0 || elements_.at(h).isWindow || elements_.at(h).control.kind != Art::TextBox)
        StopForScript(line, "no text box named " + line.target);
    std::string why = WhyNotUsable(h);
    transcript_.Type(line.target, line.text, why);
    if (why.empty()) elements_.at(h).control.text = line.text;
}

void HeadlessFace::PerformTick(const ScriptLine& line) {
    Handle h = Lookup(line.target);
    if (h == 0 || elements_.at(h).isWindow || elements_.at(h).control.kind != Art::CheckBox)
        StopForScript(line, "no check box named " + line.target);
    std::string why = WhyNotUsable(h);
    transcript_.Tick(line.target, line.number == 1, why);
    if (why.empty()) elements_.at(h).control.ticked = line.number == 1;
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

ScriptLine HeadlessFace::TakeAnswer() {
    if (script_.Empty()) {
        std::cerr << "kaldorin-setup: the script ended while a dialog waits for its answer\n";
        Stop(3);
    }
    return script_.Take();
}

namespace {

// A dialog's text as the user reads it: "|" (alerts) and CR/LF (messages) break lines.
std::string AsRead(std::string_view text, bool alert) {
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((alert && c == '|') || c == '\n') lines += '\n';
        else if (c == '\r') { lines += '\n'; if (i + 1 < text.size() && text[i + 1] == '\n') ++i; }
        else lines += c;
    }
    while (!lines.empty() && lines.back() == '\n') lines.pop_back();
    return lines;
}

}  // namespace

int HeadlessFace::Alert(int style, std::string_view text, int defaultButton, std::string_view labels) {
    ThrowIfStopping();
    if (options_.answerDialogs) {
        transcript_.Alert(style, text, defaultButton, labels, 1);
        std::cout << AsRead(text, true) << "\n  -> [" << SplitButtons(labels).at(0) << "]\n\n";
        return 1;
    }
    int buttons = static_cast<int>(SplitButtons(labels).size());
    std::optional<ScriptLine> line;
    if (!script_.Empty()) line = script_.Take();
    bool valid = line && line->action == ScriptAction::Answer && line->number <= buttons;
    transcript_.Alert(style, text, defaultButton, labels, valid ? std::optional<int>(line->number) : std::nullopt);
    if (!line) {
        std::cerr << "kaldorin-setup: the script ended while an alert waits for its answer\n";
        Stop(3);
    }
    if (!valid) StopForScript(*line, "expected answer 1 to " + std::to_string(buttons) + " for the open alert");
    return line->number;
}

void HeadlessFace::Message(std::string_view text, std::string_view title, int style) {
    ThrowIfStopping();
    messages_.emplace_back(text);
    if (options_.answerDialogs) {
        transcript_.Message(title, text, style, 1);
        if (!title.empty()) std::cout << title << ": ";
        std::cout << AsRead(text, false) << "\n  -> [OK]\n\n";
        return;
    }
    std::optional<ScriptLine> line;
    if (!script_.Empty()) line = script_.Take();
    bool valid = line && line->action == ScriptAction::Answer && line->number == 1;
    transcript_.Message(title, text, style, valid ? std::optional<int>(1) : std::nullopt);
    if (!line) {
        std::cerr << "kaldorin-setup: the script ended while a message waits for its answer\n";
        Stop(3);
    }
    if (!valid) StopForScript(*line, "expected answer 1 for the open message");
}

std::string HeadlessFace::BrowseForFolder(Handle owner, int, std::string_view title, std::string_view start) {
    ThrowIfStopping();
    if (owner != 0) Get(owner);  // the owner must be open
    std::optional<ScriptLine> line;
    if (!script_.Empty()) line = script_.Take();
    if (!line) {
        transcript_.Folder(title, start, std::nullopt, false);
        std::cerr << "kaldorin-setup: the script ended while the folder dialog waits for its answer\n";
        Stop(3);
    }
    if (line->action != ScriptAction::Folder) {
        transcript_.Folder(title, start, std::nullopt, false);
        StopForScript(*line, "expected folder PATH or folder for the open folder dialog");
    }
    if (line->cancel) {
        transcript_.Folder(title, start, std::nullopt, true);
        return "";
    }
    std::string reason;
    std::optional<std::string> answer = FolderAnswer(*line, reason);
    transcript_.Folder(title, start, answer, false);
    if (!answer) StopForScript(*line, reason);
    return *answer;
}

// The folder a "folder PATH" line picks, as a Windows path with one trailing
// backslash; nullopt (and `reason`) when the line names no usable path.
std::optional<std::string> HeadlessFace::FolderAnswer(const ScriptLine& line, std::string& reason) {
    std::string path = line.text;
    if (path.starts_with('/')) {
        try {
            path = host_.WindowsPath(path);
        } catch (const std::exception& e) {
            reason = std::string("the host cannot name this path: ") + e.what();
            return std::nullopt;
        }
    } else if (!IsWindowsPath(path)) {
        reason = "expected a Windows path (\"D:\\Daten\") or a host path starting with /";
        return std::nullopt;
    }
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path + '\\';
}

// --- The run ---------------------------------------------------------------------------

int HeadlessFace::Run(const std::function<void()>& programm) {
    int code = 0;
    try {
        programm();
        code = stopping_.value_or(0);
    } catch (const ProgrammEnde&) {
        code = stopping_.value_or(0);
    } catch (const RunStop& stop) {
        code = stop.code;
    } catch (const std::exception& e) {
        code = stopping_.value_or(1);
        if (!stopping_) {
            transcript_.Error(0, "", e.what());
            std::cerr << "kaldorin-setup: the program stopped with an error: " << e.what() << '\n';
        }
    } catch (...) {
        code = stopping_.value_or(1);
        if (!stopping_) transcript_.Error(0, "", "unknown error");
    }
    stopping_ = code;
    transcript_.End(code);
    return code;
}

}  // namespace kaldorin
