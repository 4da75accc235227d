#pragma once
// The script that plays the user on every face.
//
// One action a line. Blank lines and lines whose first non-blank character is '#'
// are skipped. Words are separated by blanks or tabs; action names are lower case.
//
//   click CONTROL        clicks a control (its "<CONTROL>_Click" handler runs). A click
//                        on a control that is not available, lies out of view or sits
//                        on a closed window does nothing but a transcript line.
//   close WINDOW         closes Win_1, Win_3 or a form through its frame (its
//                        "<WINDOW>_Close" handler runs).
//   type CONTROL TEXT    replaces the text of a text box. TEXT is the rest of the line
//                        after the one blank that follows CONTROL, exactly as it
//                        stands (blanks and '#' included); it may be empty.
//   tick CONTROL 0|1     clears or sets a check box.
//   answer N             presses button N (from 1) of the open alert or message box.
//   folder PATH          picks PATH in the open folder dialog: a Windows path
//                        ("D:\Daten") or a host path starting with "/". PATH is the
//                        rest of the line, trailing blanks removed.
//   folder               cancels the open folder dialog.
//   dump                 writes the state of every open window and control to the
//                        transcript.
//
// After click, close, tick, answer and dump a '#' starts a trailing comment.
// A line that breaks these rules makes the whole script invalid (ScriptError naming
// the line), before anything runs.

#include <deque>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kaldorin {

enum class ScriptAction { Click, Close, Type, Tick, Answer, Folder, Dump };

struct ScriptLine {
    int line = 0;              // 1-based line number in the script file
    ScriptAction action = ScriptAction::Dump;
    std::string target;        // control or window (click, close, type, tick)
    std::string text;          // type: the new text; folder: the path
    int number = 0;            // answer: the button; tick: 0 or 1
    bool cancel = false;       // folder without a path
    std::string source;        // the line as written, for messages
};

// A script that cannot be read or parsed. what() names the line.
struct ScriptError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Parses a whole script. Throws ScriptError at the first bad line.
std::vector<ScriptLine> ParseScript(std::string_view text);

// The lines still to be performed, in order.
class Script {
public:
    Script() = default;
    explicit Script(std::vector<ScriptLine> lines);
    // Reads and parses a script file; throws ScriptError when it cannot be read.
    static Script FromFile(const std::string& path);

    bool Empty() const { return lines_.empty(); }
    std::size_t Remaining() const { return lines_.size(); }
    // Removes and returns the next line. Must not be called on an empty script.
    ScriptLine Take();

private:
    std::deque<ScriptLine> lines_;
};

}  // namespace kaldorin
