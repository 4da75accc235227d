#pragma once
// The transcript: JSON Lines, one object per thing the user sees or does, written
// the same way by every face so that one scenario reads alike on each of them.
//
// Lines written (texts exactly as the program passed them):
//   {"op":"opened","window":"Win_3","number":3,"title":"","w":500,"h":400,"owner":"Win_1"}
//   {"op":"closed","window":"Win_3"}
//   {"op":"alert","style":19,"text":"...","default":2,"buttons":["a ","b"],"answer":1}
//   {"op":"message","title":"Setup","text":"...","style":0,"answer":1}
//   {"op":"folder","title":"...","start":"C:\\x","answer":"D:\\Daten\\"}  or "cancelled":true
//   {"op":"click","control":"CMD_Weiter"}     plus "ignored":"not available" etc.
//   {"op":"close","window":"Win_1"}           plus "ignored" when it had no effect
//   {"op":"type","control":"TB_Dir","text":"..."}
//   {"op":"tick","control":"CB_Desk","ticked":false}
//   {"op":"dump","windows":[...],"controls":[...],"focus":...,"mousePointer":0}
//   {"op":"error","line":7,"script":"click X","reason":"..."}   (line 0: not a script line)
//   {"op":"end","code":0}
// A modal whose answer is wrong is written without "answer", followed by an "error"
// line and {"op":"end","code":2}; when the script has no line left for it, by
// {"op":"end","code":3}.

#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/runtime.h"

namespace kaldorin {

// `text` as a quoted JSON string. Control characters, '"' and '\' are escaped; valid
// UTF-8 passes through; a byte that is not part of valid UTF-8 becomes U+FFFD.
std::string JsonString(std::string_view text);

// Builds one JSON object field by field, in the order given.
class JsonObject {
public:
    JsonObject& Add(std::string_view key, std::string_view text);
    JsonObject& Add(std::string_view key, const char* text) { return Add(key, std::string_view(text)); }
    JsonObject& Add(std::string_view key, std::int64_t number);
    JsonObject& Add(std::string_view key, int number) { return Add(key, std::int64_t{number}); }
    JsonObject& Add(std::string_view key, bool value);
    JsonObject& AddNull(std::string_view key);
    // `json` must already be valid JSON (an object, an array...).
    JsonObject& AddRaw(std::string_view key, std::string_view json);
    std::string Text() const { return body_ + "}"; }

private:
    std::string body_ = "{";
};

// A JSON array of already formatted values.
std::string JsonArray(const std::vector<std::string>& values);

// The buttons of an alert: `labels` split on "|", blanks kept ("" is one button).
std::vector<std::string> SplitButtons(std::string_view labels);

// What an unattended run prints for a dialog it answered: the text as the user reads it
// ("|" in alerts, CR, LF and CR LF each break the line), then the button pressed. Lines
// end in "\n" alone: written to a stream in text mode, that is CR LF on Windows.
std::string AnsweredAlert(std::string_view text, std::string_view button);
std::string AnsweredMessage(std::string_view title, std::string_view text);

// --- What a surface shows --------------------------------------------------------

// `count` lines: the first from (x1, y1) to (x2, y2), each next one a pixel lower.
// Consecutive lines that continue a run are kept as one (a gradient stays small).
struct DrawnLines {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    Farbe colour = 0;
    int count = 1;
};

struct DrawnText {
    int x = 0, y = 0;
    std::string text;
    int size = 0;
    bool bold = false;
    Farbe colour = 0;
};

// One piece of printed text: where it starts (text column from 1) and how it looks.
struct PrintedPiece {
    int column = 1;
    std::string text;
    int size = 0;
    bool bold = false;
    Farbe colour = 0;
};

struct PrintedLine {
    std::vector<PrintedPiece> pieces;
    // The line as one text: each piece at its column, gaps filled with blanks, a
    // later piece written over an earlier one where they overlap.
    std::string Text() const;
};

// Everything drawn or printed into one output surface since it was last cleared.
struct SurfaceOutput {
    std::vector<DrawnLines> lines;
    std::vector<DrawnText> texts;
    std::map<int, PrintedLine> printed;  // by print line, from 1
    int printLine = 1, printColumn = 1;  // where the next print goes

    void Clear();
    void AddLine(int x1, int y1, int x2, int y2, Farbe colour);
    // Prints a piece at the print position and moves the position behind it; with
    // `endLine` the position then goes to column 1 of the next line.
    void Print(std::string_view text, int size, bool bold, Farbe colour, bool endLine);
};

// Number of characters (code points) of UTF-8 text.
int CharacterCount(std::string_view utf8);

// --- What a dump shows -------------------------------------------------------------

struct FontState {
    std::string name;
    int size = 0;
    bool bold = false;
};

struct WindowState {
    std::string name;           // "Win_1", "FRM_Installation"
    int number = 0;             // window number; 0 for a form
    std::string title;
    int x = 0, y = 0, width = 0, height = 0;
    std::string owner;          // "" when none
    std::optional<Farbe> backColour;
    std::optional<Farbe> textColour;
    std::string icon;
    bool resizable = true;
    bool available = true;
    bool autoRedraw = false;
    FontState font;
    const SurfaceOutput* output = nullptr;  // what was drawn and printed into it
};

struct ControlState {
    std::string name;
    Art kind = Art::Label;
    std::string window;         // name of the window or form that holds it
    std::string text;
    int x = 0, y = 0, width = 0, height = 0;
    bool available = true;
    bool ticked = false;
    int value = 0, maximum = 0;
    FontState font;
    std::optional<Farbe> textColour;
    std::optional<Farbe> backColour;
    std::string toolTip;
    std::string picture;
    bool transparent = false;
    int border = 0;
    bool smooth = false;
    bool autoRedraw = false;
    const SurfaceOutput* output = nullptr;  // text areas: what was printed
};

// The kind as the transcript names it: "label", "textbox", "button", ...
std::string_view KindName(Art kind);

// --- The writer --------------------------------------------------------------------

class Transcript {
public:
    // Writes to `out`; nullptr writes nothing. Every line is flushed at once, so a
    // run that dies leaves all lines before its end.
    explicit Transcript(std::ostream* out = nullptr) : out_(out) {}

    void Opened(const WindowState& window);
    void Closed(std::string_view window);
    void Alert(int style, std::string_view text, int defaultButton, std::string_view labels,
               std::optional<int> answer);
    void Message(std::string_view title, std::string_view text, int style, std::optional<int> answer);
    // `opens`: the folder the dialog opened with (FolderDialogStart), "" for its own
    // default. `answer`: the folder picked; nullopt with `cancelled` false: no valid
    // answer came.
    void Folder(std::string_view title, std::string_view start, std::string_view opens,
                const std::optional<std::string>& answer, bool cancelled);
    // `ignored`: why the action had no effect ("" when it had one).
    void Click(std::string_view control, std::string_view ignored);
    void Close(std::string_view window, std::string_view ignored);
    void Type(std::string_view control, std::string_view text, std::string_view ignored);
    void Tick(std::string_view control, bool ticked, std::string_view ignored);
    void Dump(const std::vector<WindowState>& windows, const std::vector<ControlState>& controls,
              std::string_view focus, int mousePointer);
    void Error(int line, std::string_view script, std::string_view reason);
    void End(int code);

    // One finished object as a line; for what the calls above do not cover.
    void Write(const JsonObject& object);

private:
    std::ostream* out_;
};

}  // namespace kaldorin
