#pragma once
// The Qt Widgets face: real windows and controls behind the runtime's Face.
// Events are not handled inside Qt's signal emission: a click or a close only queues
// the handler's name, and EventStep runs one queued handler outside Qt's dispatch.
// So a handler may open modal dialogs, close windows or end the program (an
// exception) without unwinding through Qt.

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

#include "runtime/ui/face_core.h"

class QDialog;
class QKeyEvent;

namespace kaldorin::qt {

class Flaeche;

// A window or control: what every face keeps, and its widget.
struct Element : FaceElement {
    QPointer<QWidget> widget;
    Flaeche* flaeche = nullptr;  // output surface, if the element is one
};

class QtUi final : public FaceCore<Element> {
public:
    // With a script, its lines act instead of a person and the run ends when the
    // script does; everything shown goes to `transcript` (nullptr: nowhere).
    QtUi(const FaceOptions& options, Host& host, std::optional<Script> script,
         std::ostream* transcript);
    ~QtUi() override;

    // Runs the program to its end and returns the exit code, as the headless face
    // does: 0 at the program's end, 2 on a script fault, 3 when the script ran out
    // while the program waited, 1 when an error escaped the program.
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

    // --- For the tests ------------------------------------------------------------
    // The widget of the open element called `name`, nullptr when there is none.
    QWidget* WidgetNamens(std::string_view name) const { return Widget(Lookup(name)); }
    QWidget* Widget(Handle element) const;

    // A key pressed in one of the program's windows, before the widget sees it. True
    // when the key was used here (qt_tastatur.cpp).
    bool TasteBearbeiten(QWidget* empfaenger, const QKeyEvent& taste);

private:
    QWidget* ControlBauen(QWidget* eltern, Art art, const std::string& name, const QString& text);
    // A new window's widget, named, in the standard font, its close box reported.
    Flaeche* FensterBauen(QWidget* eltern, const std::string& name);
    void SchriftAnwenden(Element& e);
    void Einpassen(Element& e);
    QWidget* Hintergrundfenster() const { return WidgetNamens("Win_1"); }
    // The window a dialog is centred over: the active one, else the newest open one.
    QWidget* Dialogbesitzer() const;
    void TastaturAnmelden();
    Handle ElementVon(const QWidget* widget) const;
    // Presses button `knopf` (property "antwort") of `dialog` once it waits.
    void Druecken(QDialog& dialog, int knopf);

    // The hooks of the shared core: the widgets' side.
    bool Realised(const Element& e) const override { return e.widget; }
    bool IsAvailable(const Element& e) const override { return e.widget->isEnabled(); }
    Placement PlaceOf(const Element& e) const override;
    bool IsSurface(const Element& e) const override { return e.flaeche; }
    void ApplyFont(Element& e) override { SchriftAnwenden(e); }
    void ClickOn(Handle control, const ScriptLine& line) override;
    void CloseByFrame(Handle window) override;
    void TypeInto(Handle textBox, const std::string& text) override;
    void TickBox(Handle checkBox, bool ticked) override;
    WindowState WindowStateOf(Handle window) const override;
    ControlState ControlStateOf(Handle control) const override;
    void ProcessPending() override;
    void WaitForUser() override;
    bool Shown(const Element& e) const override { return e.widget->isVisible(); }
    bool InView(const Element& e) const override;
    Handle ToolkitFocus() const override;
    bool HoldsFocus(Handle control, Handle window) const override;
    void GiveFocus(Handle control) override;
    bool IsActive(Handle window) const override { return Widget(window)->isActiveWindow(); }
    void Activate(Handle window) override { Widget(window)->activateWindow(); }
    void Press(Handle control) override;

    std::unique_ptr<QObject> tastenfilter_;
};

}  // namespace kaldorin::qt
