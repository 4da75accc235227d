#pragma once
// The Win32 face: real windows and common controls behind the runtime's Face.
//
// Window procedures never run the program: a click or a close only queues the
// handler's name, and EventStep runs one queued handler outside any window
// procedure. So a handler may open modal dialogs, close windows or end the program
// (an exception) without unwinding through Windows.
//
// With a script, its lines act instead of a person: a click is BM_CLICK on the real
// button, an answer presses the dialog's own button, and a dump reads the windows.
//
// The program's positions, sizes and fonts are meant for a 96-DPI screen; each window
// shows them scaled to its own DPI, and dumps report them in the program's units.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/ui/face_core.h"

struct HWND__;
struct HFONT__;
struct HBRUSH__;
struct HDC__;
struct tagRECT;
struct tagMSG;

namespace kaldorin::w32 {

class Flaeche;

// A window or control: what every face keeps, and its window.
struct Element : FaceElement {
    HWND__* hwnd = nullptr;
    std::unique_ptr<Flaeche> flaeche;   // output surface: windows, text areas, pictures
    HFONT__* schrift = nullptr;
    HBRUSH__* pinsel = nullptr;         // back colour of a control
    HWND__* tooltip = nullptr;
    int dpi = 96;                       // a window's DPI; controls use their window's
    Element();
    Element(Element&&) noexcept;
    ~Element();
};

class Win32Face final : public FaceCore<Element> {
public:
    // `halten`: seconds the program may still wait for a real user once the script
    // has no line left (0: the run ends with code 3 at once).
    Win32Face(const FaceOptions& options, Host& host, std::optional<Script> script,
              std::ostream* transcript, int halten = 0);
    ~Win32Face() override;

    // Runs the program to its end; exit codes as the headless face: 0 at the
    // program's end, 1 when an error escaped, 2 on a script fault, 3 when the script
    // ran out while the program waited; WM_QUIT ends the run with its own code.
    int Run(const std::function<void()>& programm);

    Handle OpenWindow(int number, int width, int height, Handle owner) override;
    void CloseWindow(Handle window) override;
    Handle LoadForm(std::string_view resource) override;
    Handle CreateControl(Handle window, Art art, std::string_view name, std::string_view text,
                         int x, int y, int width, int height) override;
    void SetResizable(Handle window, bool resizable) override;

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
    void Focus(Handle control) override;
    void SetMousePointer(int shape) override;

    void ClearOutput() override;
    void SetForeColour(Farbe colour) override;
    void SetOutputFontSize(int points) override;
    void SetOutputBold(bool bold) override;
    void DrawLine(int x1, int y1, int x2, int y2) override;
    void DrawText(int x, int y, std::string_view text) override;
    void SetPrintPosition(int column, int line) override;
    void PrintItem(std::string_view text) override;
    void PrintLine(std::string_view text) override;

    int Alert(int style, std::string_view text, int defaultButton,
              std::string_view labels) override;
    void Message(std::string_view text, std::string_view title, int style) override;
    std::string BrowseForFolder(Handle owner, int flags, std::string_view title,
                                std::string_view start) override;

    int ScreenWidth() override;
    int ScreenHeight() override;
    int ScreenWidthTwips() override;
    int ScreenHeightTwips() override;
    std::int64_t Colours() override;

    // --- For the window procedures ------------------------------------------------
    // The DPI the element is shown at.
    int DpiVon(const Element& e) const;
    // The window moved to a screen of another DPI: lay it out anew at `dpi`, in
    // `vorschlag` (the place Windows suggests).
    void DpiWechseln(HWND__* fenster, int dpi, const tagRECT& vorschlag);
    // Whether a label's text is drawn by the surface below it rather than by its own
    // window: a label without its own back colour, like a transparent one, shows
    // what lies below, so overlapping labels and frames all stay visible.
    static bool VomFensterGemalt(const Element& e);
    // The element shown by `hwnd`, nullptr when it is none of this face's.
    Element* ElementVon(HWND__* hwnd);
    // Draws the transparent labels on `fenster` into `dc` (from WM_PAINT).
    void BeschriftungenMalen(HWND__* fenster, HDC__* dc);
    // The busy pointer is shown over the program's windows.
    bool Beschaeftigt() const { return mousePointer_ == kBusyPointer; }

private:
    Handle Neu(Element element);
    HWND__* FensterBauen(const std::string& name, const std::string& titel, int breite, int hoehe,
                         HWND__* besitzer, bool vollbild, int& dpi);
    HWND__* ControlBauen(HWND__* eltern, Art art, const std::string& text, int x, int y, int breite,
                         int hoehe, Handle handle, int dpi);
    void SchriftAnwenden(Element& e);
    void Neuzeichnen(Element& e);
    HWND__* Hintergrundfenster() const;
    std::vector<HWND__*> OffeneFenster() const;
    // Ends the run when WM_QUIT came: whichever loop met it, it is never lost.
    void QuitPruefen();
    // The keyboard (w32_tastatur.cpp): the shared rules instead of the dialog manager,
    // whose tab order is the windows' z-order and counts controls out of view.
    bool TasteBearbeiten(const tagMSG& msg);
    Handle HandleVon(HWND__* hwnd) const;

    // The hooks of the shared core: the windows' side.
    bool Realised(const Element& e) const override { return e.hwnd; }
    bool IsAvailable(const Element& e) const override;
    Placement PlaceOf(const Element& e) const override;
    bool IsSurface(const Element& e) const override { return e.flaeche != nullptr; }
    void ApplyFont(Element& e) override { SchriftAnwenden(e); }
    void ClickOn(Handle control, const ScriptLine& line) override;
    void CloseByFrame(Handle window) override;
    void TypeInto(Handle textBox, const std::string& text) override;
    void TickBox(Handle checkBox, bool ticked) override;
    WindowState WindowStateOf(Handle window) const override;
    ControlState ControlStateOf(Handle control) const override;
    void ProcessPending() override;
    void WaitForUser() override;
    bool HoldsAfterScript() const override { return halten_ > 0; }
    bool Shown(const Element& e) const override;
    bool InView(const Element& e) const override;
    Handle ToolkitFocus() const override;
    bool HoldsFocus(Handle control, Handle window) const override;
    void GiveFocus(Handle control) override;
    bool IsActive(Handle window) const override;
    void Activate(Handle window) override;
    void Press(Handle control) override;

    int halten_ = 0;
    std::optional<unsigned long long> haltenBis_;  // tick count when the hold ends
};

// Runs `programm` on the Win32 face; see Win32Face::Run for the exit codes. A script
// or transcript that cannot be opened gives 2.
int RunWin32Face(const FaceOptions& options, Host& host, const std::function<void(Laufzeit)>& programm,
                 int halten = 0);

}  // namespace kaldorin::w32
