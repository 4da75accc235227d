#pragma once
// The Qt Widgets face: real windows and controls behind the runtime's Face.
// Events are not handled inside Qt's signal emission: a click or a close only queues
// the handler's name, and EventStep runs one queued handler outside Qt's dispatch.
// So a handler may open modal dialogs, close windows or end the program (an
// exception) without unwinding through Qt.

#include <QPointer>
#include <QWidget>

#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/runtime.h"
#include "runtime/ui/face_options.h"
#include "runtime/ui/run_control.h"
#include "runtime/ui/script.h"
#include "runtime/ui/tastatur.h"
#include "runtime/ui/transcript.h"

class QDialog;
class QKeyEvent;

namespace kaldorin::qt {

class Flaeche;

class QtUi final : public Face {
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
    Handle FindControl(std::string_view name) override;
    Handle CreateControl(Handle window, Art art, std::string_view name, std::string_view text,
                         int x, int y, int width, int height) override;
    void BindHandlers(HandlerTable table) override;
    void EventStep() override;
    void SetResizable(Handle window, bool resizable) override;

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
    void Focus(Handle control) override;
    void SetMousePointer(int shape) override;

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
    // Called each time the program waits at top level, before the next user action.
    void BeimWarten(std::function<void()> beobachter) { beimWarten_ = std::move(beobachter); }
    struct Element {
        QPointer<QWidget> widget;
        bool offen = true;
        bool istFenster = false;
        Handle fenster = 0;            // the window holding a control
        Flaeche* flaeche = nullptr;    // output surface, if the element is one
        // What the widgets cannot tell: names of resources, colours set, fonts.
        WindowState fensterZustand;
        ControlState zustand;
        SurfaceOutput ausgabe;         // what was drawn and printed, for the transcript
    };
    const std::map<Handle, Element>& Elemente() const { return elemente_; }
    // The widget of the open element called `name`, nullptr when there is none.
    QWidget* WidgetNamens(std::string_view name) const;
    QWidget* Widget(Handle element) const;
    // Queues the handler of an event ("CMD_Weiter_Click"), as a user action does.
    void Melden(std::string ereignis);
    // The state of a window or control as a dump shows it, read from the widgets.
    WindowState FensterZustand(Handle window) const;
    ControlState Zustand(Handle control) const;

    // --- The keyboard (qt_tastatur.cpp) ----------------------------------------------
    // A key pressed in one of the program's windows, before the widget sees it. True
    // when the key was used here.
    bool TasteBearbeiten(QWidget* empfaenger, const QKeyEvent& taste);
    // The control holding the keyboard focus of the front window, 0 when none.
    Handle Tastenfokus() const;

private:
    Element& Holen(Handle element, const char* wozu);
    Element& HolenFenster(Handle window);
    Flaeche& Ausgabe();
    Element& AusgabeElement();
    Handle Neu(Element element);
    Handle Nachschlagen(std::string_view name) const;
    QWidget* ControlBauen(QWidget* eltern, Art art, const std::string& name,
                          const QString& text);
    FontState& SchriftVon(Element& e);
    std::optional<Farbe>& TextfarbeVon(Element& e);
    void SchriftAnwenden(Element& e);
    void Einpassen(Element& e);
    QWidget* Hintergrundfenster() const;
    // The window a dialog is centred over: the active one, else the newest open one.
    QWidget* Dialogbesitzer() const;
    void HandlerAusfuehren();
    void TastaturAnmelden();
    // The newest open window: the one the keyboard works in.
    Handle Vorderfenster() const;
    std::vector<Tastenziel> Tastenziele(Handle fenster) const;
    Handle ElementVon(const QWidget* widget) const;
    // Puts the keyboard focus where it belongs once a handler has returned.
    void FokusPruefen();
    void FokusGeben(Handle control);
    void AnstehendesBearbeiten();
    // Presses button `knopf` (property "antwort") of `dialog` once it waits.
    void Druecken(QDialog& dialog, int knopf);

    // The script (qt_skript.cpp).
    void NaechsteAktion();
    void Ausfuehren(const ScriptLine& line);
    void Klicken(const ScriptLine& line);
    void Schliessen(const ScriptLine& line);
    void Tippen(const ScriptLine& line);
    void Haken(const ScriptLine& line);
    void Abbild();
    std::string WarumNichtErreichbar(Handle control) const;
    std::optional<ScriptLine> AntwortNehmen();
    // Stops the run with 2 when `line` cannot act on the element `h` (0: none).
    void ZielPruefen(const ScriptLine& line, Handle h);

    FaceOptions optionen_;
    Host& host_;
    std::optional<Script> skript_;
    Transcript transcript_;
    RunControl lauf_{transcript_};
    std::map<Handle, Element> elemente_;
    Handle naechster_ = 1;
    HandlerTable handler_;
    std::deque<std::string> ereignisse_;
    int tiefe_ = 0;
    Handle ausgabe_ = 0;
    Handle fokus_ = 0;
    int mauszeiger_ = 0;
    std::function<void()> beimWarten_;
    Tastaturfokus tastatur_;
    std::unique_ptr<QObject> tastenfilter_;
};

}  // namespace kaldorin::qt
