#pragma once
// The rules of playing a script that do not depend on a face: which control a script
// line may act on, when the user cannot reach a control, and which script line
// answers an open dialog. The faces keep only what touches their own windows.

#include <optional>
#include <string>
#include <string_view>

#include "runtime/runtime.h"
#include "runtime/ui/run_control.h"
#include "runtime/ui/script.h"
#include "runtime/ui/transcript.h"

namespace kaldorin {

// What a script line found under its target name: nothing (`found` false), a window,
// or a control of `kind`.
struct ScriptTarget {
    bool found = false;
    bool isWindow = false;
    Art kind{};
};

// Why `line` (click, close, type or tick) cannot act on `target`, as the script error
// says it; "" when it can.
std::string TargetFault(const ScriptLine& line, const ScriptTarget& target);

// The control's place in its window's inner area, and the size of that area.
struct Placement {
    int x = 0, y = 0, width = 0, height = 0;
    int windowWidth = 0, windowHeight = 0;
};

// Why the user cannot reach a control now, "" when it can: "window closed", "not
// available", or "out of view" (parked at kOutOfView or beyond, or wholly outside the
// window). A click, close, type or tick on such a control is written as ignored.
std::string WhyNotReachable(bool open, bool available, const Placement& place);

// Writes the action of `line` (click, close, type or tick) to the transcript, ignored
// for `why` when that is not "". Returns whether the face is to carry it out.
bool ReportAction(Transcript& transcript, const ScriptLine& line, const std::string& why);

// The folder a "folder PATH" line picks, as a Windows path with one trailing
// backslash: host paths (from "/") through `host`, Windows paths as they are. Nothing
// (and `reason`) when the line names no usable path.
std::optional<std::string> FolderAnswer(Host& host, const ScriptLine& line, std::string& reason);

// Takes `line` as the answer to an open alert with `buttons` buttons and writes the
// alert to the transcript. Returns the button; stops the run through `run` with 3
// when there is no line, with 2 when it is not "answer 1" to "answer buttons".
int AnswerAlert(RunControl& run, Transcript& transcript, const std::optional<ScriptLine>& line, int style,
                std::string_view text, int defaultButton, std::string_view labels, int buttons);

// Takes `line` as the answer to an open message and writes the message to the
// transcript; stops the run with 3 when there is no line, with 2 unless it is
// "answer 1".
void AnswerMessage(RunControl& run, Transcript& transcript, const std::optional<ScriptLine>& line,
                   std::string_view title, std::string_view text, int style);

// The folder the folder dialog opens with for `start`, the same on every face: `start`
// itself (one trailing backslash dropped) when that folder exists, else the nearest
// folder above it that exists, else "" (the dialog's own default). A drive root comes
// as "C:\". Asks `host` which folders exist.
std::string FolderDialogStart(Host& host, std::string_view start);

// Takes `line` as the answer to an open folder dialog and writes the dialog to the
// transcript. Returns the folder picked (see FolderAnswer), nothing when the line
// cancels; stops the run with 3 when there is no line, with 2 when it is no usable
// "folder" line.
std::optional<std::string> AnswerFolder(RunControl& run, Transcript& transcript, Host& host,
                                        const std::optional<ScriptLine>& line, std::string_view title,
                                        std::string_view start);

// Runs the handler bound to `name`, counting it in `depth` while it runs, so that a
// nested event step knows it is nested. An event without a handler is dropped.
void CallHandler(const HandlerTable& handlers, const std::string& name, int& depth);

}  // namespace kaldorin
