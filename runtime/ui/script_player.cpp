#include "runtime/ui/script_player.h"

#include <exception>

namespace kaldorin {

std::string TargetFault(const ScriptLine& line, const ScriptTarget& target) {
    const std::string& name = line.target;
    switch (line.action) {
    case ScriptAction::Click:
        if (!target.found) return "no control named " + name;
        if (target.isWindow) return name + " is a window; use close";
        return "";
    case ScriptAction::Close:
        if (!target.found) return "no window named " + name;
        if (!target.isWindow) return name + " is not a window";
        return "";
    case ScriptAction::Type:
        if (!target.found || target.isWindow || target.kind != Art::TextBox) return "no text box named " + name;
        return "";
    case ScriptAction::Tick:
        if (!target.found || target.isWindow || target.kind != Art::CheckBox) return "no check box named " + name;
        return "";
    default:
        return "";
    }
}

std::string WhyNotReachable(bool open, bool available, const Placement& p) {
    if (!open) return "window closed";
    if (!available) return "not available";
    const bool outside = p.x + p.width <= 0 || p.y + p.height <= 0 || p.x >= p.windowWidth ||
                         p.y >= p.windowHeight;
    if (p.x <= kOutOfView || p.y <= kOutOfView || outside) return "out of view";
    return "";
}

bool ReportAction(Transcript& transcript, const ScriptLine& line, const std::string& why) {
    switch (line.action) {
    case ScriptAction::Click: transcript.Click(line.target, why); break;
    case ScriptAction::Close: transcript.Close(line.target, why); break;
    case ScriptAction::Type: transcript.Type(line.target, line.text, why); break;
    case ScriptAction::Tick: transcript.Tick(line.target, line.number == 1, why); break;
    default: break;
    }
    return why.empty();
}

namespace {

bool IsWindowsPath(std::string_view path) {
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return drive || path.starts_with("\\\\");
}

}  // namespace

std::optional<std::string> FolderAnswer(Host& host, const ScriptLine& line, std::string& reason) {
    std::string path = line.text;
    if (path.starts_with('/')) {
        try {
            path = host.WindowsPath(path);
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

int AnswerAlert(RunControl& run, Transcript& transcript, const std::optional<ScriptLine>& line, int style,
                std::string_view text, int defaultButton, std::string_view labels, int buttons) {
    const bool valid =
        line && line->action == ScriptAction::Answer && line->number >= 1 && line->number <= buttons;
    transcript.Alert(style, text, defaultButton, labels, valid ? std::optional<int>(line->number) : std::nullopt);
    if (!line) run.ScriptEnded("eine Warnung auf ihre Antwort wartet");
    if (!valid) run.ScriptFault(*line, "expected answer 1 to " + std::to_string(buttons) + " for the open alert");
    return line->number;
}

void AnswerMessage(RunControl& run, Transcript& transcript, const std::optional<ScriptLine>& line,
                   std::string_view title, std::string_view text, int style) {
    const bool valid = line && line->action == ScriptAction::Answer && line->number == 1;
    transcript.Message(title, text, style, valid ? std::optional<int>(1) : std::nullopt);
    if (!line) run.ScriptEnded("eine Meldung auf ihre Antwort wartet");
    if (!valid) run.ScriptFault(*line, "expected answer 1 for the open message");
}

std::string FolderDialogStart(Host& host, std::string_view start) {
    std::string folder(start);
    if (!folder.empty() && folder.back() == '\\') folder.pop_back();
    // The default target exists only once the wizard made it, so walking up gives the
    // user the place it will be made in rather than some unrelated default.
    while (!folder.empty()) {
        if (host.FolderExists(folder)) return folder.size() == 2 && folder[1] == ':' ? folder + '\\' : folder;
        const std::size_t cut = folder.find_last_of('\\');
        if (cut == std::string::npos) break;
        folder.resize(cut);
    }
    return "";
}

std::optional<std::string> AnswerFolder(RunControl& run, Transcript& transcript, Host& host,
                                        const std::optional<ScriptLine>& line, std::string_view title,
                                        std::string_view start) {
    const std::string opens = FolderDialogStart(host, start);
    if (!line) {
        transcript.Folder(title, start, opens, std::nullopt, false);
        run.ScriptEnded("die Ordnerauswahl auf ihre Antwort wartet");
    }
    if (line->action != ScriptAction::Folder) {
        transcript.Folder(title, start, opens, std::nullopt, false);
        run.ScriptFault(*line, "expected folder PATH or folder for the open folder dialog");
    }
    if (line->cancel) {
        transcript.Folder(title, start, opens, std::nullopt, true);
        return std::nullopt;
    }
    std::string reason;
    std::optional<std::string> answer = FolderAnswer(host, *line, reason);
    transcript.Folder(title, start, opens, answer, false);
    if (!answer) run.ScriptFault(*line, reason);
    return answer;
}

void CallHandler(const HandlerTable& handlers, const std::string& name, int& depth) {
    auto handler = handlers.find(name);
    if (handler == handlers.end() || !handler->second) return;
    struct Nesting {
        int& depth;
        explicit Nesting(int& d) : depth(d) { ++depth; }
        ~Nesting() { --depth; }
    } nesting(depth);
    handler->second();
}

}  // namespace kaldorin
