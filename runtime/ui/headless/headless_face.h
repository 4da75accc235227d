#pragma once
// The face without a display. It keeps a full model of every window and control and
// of everything drawn and printed, takes the user's actions from a script and writes
// what the user would see and do to a transcript.
//
// A run ends through an exception that Run() catches: the program's own end (code 0),
// a script that breaks the rules (code 2), or a program waiting for the user when
// the script has no line left (code 3). Once a run is ending, every further event
// step and modal call throws again, so a handler that swallows the exception cannot
// keep the run going.

#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/runtime.h"
#include "runtime/ui/face_options.h"
#include "runtime/ui/run_control.h"
#include "runtime/ui/script.h"
#include "runtime/ui/transcript.h"

namespace kaldorin {

class HeadlessFace : public Face {
public:
    // Plays `script` and writes the transcript to `transcript` (nullptr: none).
    // `host` turns host paths of "folder /..." answers into Windows paths.
    HeadlessFace(const FaceOptions& options, Host& host, Script script, std::ostream* transcript);

    // Runs the program to its end and returns the exit code: 0 when it ended by
    // itself or through EndeProgramm, 2 on a script fault, 3 when the script ran out
    // while the program waited, 1 when an error escaped the program. Writes the
    // transcript's "end" line.
    int Run(const std::function<void()>& programm);

    // --- Windows (runtime.h documents each operation) ---
    Handle OpenWindow(int number, int width, int height, Handle owner) override;
    void CloseWindow(Handle window) override;
    // Builds the form and its controls from the stored description; the form's
    // default font is "MS Sans Serif", 8 pt, which controls without a size take.
    Handle LoadForm(std::string_view resource) override;
    // Looks among open windows, forms and controls only.
    Handle FindControl(std::string_view name) override;
    // Control names are unique among open controls; a second one throws.
    Handle CreateControl(Handle window, Art art, std::string_view name, std::string_view text,
                         int x, int y, int width, int height) override;
    void BindHandlers(HandlerTable table) override;
    // At top level performs the next script line; inside a handler returns at once.
    void EventStep() override;
    void SetResizable(Handle window, bool resizable) override;

    // --- Controls and windows. Kind-specific setters throw on the wrong kind. ---
    void SetText(Handle element, std::string_view text) override;
    std::string Text(Handle element) override;
    void SetFontName(Handle element, std::string_view name) override;
    void SetFontSize(Handle element, int points) override;
    void SetFontBold(Handle element, bool bold) override;
    void SetTextColour(Handle element, Farbe colour) override;
    void SetBackColour(Handle element, Farbe colour) override;
    void SetToolTip(Handle element, std::string_view text) override;
    void SetIcon(Handle window, std::string_view resource) override;
    void SetPicture(Handle picture, std::string_view resource) override;
    void SetTransparent(Handle label, bool transparent) override;
    void SetBorder(Handle textBox, int style) override;
    void SetSmooth(Handle progressBar, bool smooth) override;
    void SetAutoRedraw(Handle surface, bool keep) override;
    void SetTicked(Handle checkBox, bool ticked) override;
    bool Ticked(Handle checkBox) override;
    void SetProgressMax(Handle progressBar, int maximum) override;
    void SetProgress(Handle progressBar, int value) override;
    void Move(Handle element, int x, int y) override;
    void SetAvailable(Handle control, bool available) override;
    bool Available(Handle control) override;
    // Records which control has the focus (shown in a dump).
    void Focus(Handle control) override;
    void SetMousePointer(int shape) override;

    // --- Output. A window or text area prints with its own font size, boldness and
    // text colour; SetOutputFontSize/Bold and SetForeColour change those. ---
    void SelectOutput(Handle surface) override;
    void ClearOutput() override;
    void SetForeColour(Farbe colour) override;
    void SetOutputFontSize(int points) override;
    void SetOutputBold(bool bold) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    void DrawText(int x, int y, std::string_view text) override;
    void SetPrintPosition(int column, int line) override;
    void PrintItem(std::string_view text) override;
    void PrintLine(std::string_view text) override;

    // --- Modal dialogs: each takes its answer from the next script line. ---
    int Alert(int style, std::string_view text, int defaultButton, std::string_view labels) override;
    void Message(std::string_view text, std::string_view title, int style) override;
    std::string BrowseForFolder(Handle owner, int flags, std::string_view title,
                                std::string_view start) override;

    // --- The display, from the options ---
    int ScreenWidth() override;
    int ScreenHeight() override;
    int ScreenWidthTwips() override;
    int ScreenHeightTwips() override;
    std::int64_t Colours() override;

    // --- The model, for tests ---
    // Whether `element` exists and is open (a control: its window is open).
    bool IsOpen(Handle element) const;
    // State of a window, form or control, open or closed; throws for an unknown handle.
    WindowState Window(Handle window) const;
    ControlState Control(Handle control) const;
    // What was drawn and printed into a window or text area.
    const SurfaceOutput& Output(Handle surface) const;
    // Script lines not yet performed.
    std::size_t ScriptLeft() const { return script_.Remaining(); }
    std::string FocusName() const { return focus_; }
    // Texts of every message box shown so far, in order.
    const std::vector<std::string>& Messages() const { return messages_; }
    int MousePointer() const { return mousePointer_; }

private:
    struct Element {
        bool isWindow = false;
        bool open = true;
        Handle holder = 0;  // a control's window
        WindowState window;
        ControlState control;
        SurfaceOutput output;
    };

    Element& Get(Handle element);
    const Element& Get(Handle element) const;
    Element& GetWindow(Handle window);
    Element& GetControl(Handle control, Art kind);
    Element& CurrentOutput();
    const std::string& NameOf(const Element& e) const;
    FontState& FontOf(Element& e);
    std::optional<Farbe>& TextColourOf(Element& e);
    // Any element (open or closed) named `name`, preferring an open one; 0 if none.
    Handle Lookup(std::string_view name) const;

    std::vector<std::string> messages_;

    void Perform(const ScriptLine& line);
    void PerformClick(const ScriptLine& line);
    void PerformClose(const ScriptLine& line);
    void PerformType(const ScriptLine& line);
    void PerformTick(const ScriptLine& line);
    void Dispatch(const std::string& handlerName);
    std::string WhyNotUsable(Handle control) const;
    void Dump();

    // Stops the run with 2 when `line` cannot act on the element `h` (0: none).
    void CheckTarget(const ScriptLine& line, Handle h);
    // The next script line, for an open dialog; nothing when the script is done.
    std::optional<ScriptLine> NextLine();

    FaceOptions options_;
    Host& host_;
    Script script_;
    Transcript transcript_;
    RunControl run_{transcript_};
    HandlerTable handlers_;
    std::map<Handle, Element> elements_;  // in the order they were made
    Handle next_ = 1;
    Handle output_ = 0;
    int depth_ = 0;
    std::string focus_;
    int mousePointer_ = 0;
};

}  // namespace kaldorin
