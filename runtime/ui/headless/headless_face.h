#pragma once
// The face without a display. It keeps a full model of every window and control and
// of everything drawn and printed, takes the user's actions from a script and writes
// what the user would see and do to a transcript. The model is its toolkit: what the
// faces share (runtime/ui/face_core.h) works on it directly.
//
// A run ends through an exception that Run() catches: the program's own end (code 0),
// a script that breaks the rules (code 2), or a program waiting for the user when
// the script has no line left (code 3). Once a run is ending, every further event
// step and modal call throws again, so a handler that swallows the exception cannot
// keep the run going.

#include <functional>
#include <ostream>
#include <string>

#include "runtime/ui/face_core.h"

namespace kaldorin {

class HeadlessFace : public FaceCore<FaceElement> {
public:
    // Plays `script` and writes the transcript to `transcript` (nullptr: none).
    // `host` turns host paths of "folder /..." answers into Windows paths.
    HeadlessFace(const FaceOptions& options, Host& host, Script script, std::ostream* transcript);

    // Runs the program to its end and returns the exit code: 0 when it ended by
    // itself or through EndeProgramm, 2 on a script fault, 3 when the script ran out
    // while the program waited, 1 when an error escaped the program. Writes the
    // transcript's "end" line.
    int Run(const std::function<void()>& programm) { return run_.Run(programm); }

    // --- Windows (runtime.h documents each operation) ---
    Handle OpenWindow(int number, int width, int height, Handle owner) override;
    void CloseWindow(Handle window) override;
    // Builds the form and its controls from the stored description; the form's
    // default font is "MS Sans Serif", 8 pt, which controls without a size take.
    Handle LoadForm(std::string_view resource) override;
    // Control names are unique among open controls; a second one throws.
    Handle CreateControl(Handle window, Art art, std::string_view name, std::string_view text,
                         int x, int y, int width, int height) override;
    void SetResizable(Handle window, bool resizable) override;

    // --- Controls and windows. Kind-specific setters throw on the wrong kind. ---
    void SetText(Handle element, std::string_view text) override;
    std::string Text(Handle element) override;
    void SetTextColour(Handle element, Farbe colour) override;
    void SetBackColour(Handle element, Farbe colour) override;
    void SetToolTip(Handle element, std::string_view text) override;
    void SetIcon(Handle window, std::string_view resource) override;
    void SetPicture(Handle picture, std::string_view resource) override;
    void SetTransparent(Handle label, bool transparent) override;
    void SetBorder(Handle textBox, int style) override;
    void SetSmooth(Handle progressBar, bool smooth) override;
    void SetTicked(Handle checkBox, bool ticked) override;
    bool Ticked(Handle checkBox) override;
    void SetProgressMax(Handle progressBar, int maximum) override;
    void SetProgress(Handle progressBar, int value) override;
    void Move(Handle element, int x, int y) override;
    void SetAvailable(Handle control, bool available) override;
    bool Available(Handle control) override;
    // Records which control has the focus (shown in a dump).
    void Focus(Handle control) override;
    void SetMousePointer(int shape) override { mousePointer_ = shape; }

    // --- Output. A window or text area prints with its own font size, boldness and
    // text colour; SetOutputFontSize/Bold and SetForeColour change those. ---
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
    const SurfaceOutput& Output(Handle surface) const { return elements_.at(surface).output; }
    // Script lines not yet performed.
    std::size_t ScriptLeft() const { return script_->Remaining(); }

private:
    using Element = FaceElement;

    bool IsSurface(const Element& e) const override;
    // A click or a close queues its handler, as a user's action does on the others.
    void ClickOn(Handle, const ScriptLine& line) override { Queue(line.target + "_Click"); }
    void CloseByFrame(Handle window) override { Queue(elements_.at(window).Name() + "_Close"); }
    void TypeInto(Handle textBox, const std::string& text) override { elements_.at(textBox).controlState.text = text; }
    void TickBox(Handle checkBox, bool ticked) override { elements_.at(checkBox).controlState.ticked = ticked; }
};

}  // namespace kaldorin
