// Output into the selected window or text area: lines, text at pixel positions and
// printed lines at a print position. The pixels land in the surface's image, so they
// survive repaints; the same output is recorded for the transcript.
#include <QFontMetrics>

#include "runtime/ui/qt/flaeche.h"
#include "runtime/ui/qt/qt_hilfen.h"
#include "runtime/ui/qt/qt_ui.h"

namespace kaldorin::qt {

QtUi::Element& QtUi::AusgabeElement() {
    if (ausgabe_ == 0) throw Laufzeitfehler("Es ist keine Ausgabefläche gewählt.");
    return Holen(ausgabe_, "Ausgabe");
}

Flaeche& QtUi::Ausgabe() { return *AusgabeElement().flaeche; }

void QtUi::SelectOutput(Handle surface) {
    Element& e = Holen(surface, "Ausgabe");
    if (!e.flaeche) throw Laufzeitfehler("\"" + e.zustand.name + "\" ist keine Ausgabefläche.");
    ausgabe_ = surface;
}

void QtUi::ClearOutput() {
    Element& e = AusgabeElement();
    e.flaeche->Leeren();
    e.ausgabe.Clear();
}

void QtUi::SetForeColour(Farbe colour) {
    Element& e = AusgabeElement();
    TextfarbeVon(e) = colour;
    e.flaeche->vordergrund = QFarbe(colour);
}

void QtUi::SetOutputFontSize(int points) {
    if (points <= 0) throw Laufzeitfehler("Ungültige Schriftgröße " + std::to_string(points) + ".");
    Element& e = AusgabeElement();
    SchriftVon(e).size = points;
    e.flaeche->schrift.setPointSize(points);
}

void QtUi::SetOutputBold(bool bold) {
    Element& e = AusgabeElement();
    SchriftVon(e).bold = bold;
    e.flaeche->schrift.setBold(bold);
}

void QtUi::DrawLine(int x1, int y1, int x2, int y2) {
    Element& e = AusgabeElement();
    e.flaeche->Linie(QPoint(x1, y1), QPoint(x2, y2));
    e.ausgabe.AddLine(x1, y1, x2, y2, TextfarbeVon(e).value_or(0));
}

void QtUi::DrawText(int x, int y, std::string_view text) {
    Element& e = AusgabeElement();
    Flaeche& f = *e.flaeche;
    f.Text(QPoint(x, y), Q(text));
    const FontState& s = SchriftVon(e);
    e.ausgabe.texts.push_back({x, y, std::string(text), s.size, s.bold, TextfarbeVon(e).value_or(0)});
}

void QtUi::SetPrintPosition(int column, int line) {
    if (column < 1 || line < 1)
        throw Laufzeitfehler("Ungültige Druckposition " + std::to_string(column) + ", " +
                             std::to_string(line) + ".");
    Element& e = AusgabeElement();
    Flaeche& f = *e.flaeche;
    // Columns are as wide as the current font's average character.
    const QFontMetrics fm(f.schrift, &f);
    f.druckOrt = QPoint((column - 1) * fm.averageCharWidth(), (line - 1) * f.Zeilenhoehe());
    e.ausgabe.printColumn = column;
    e.ausgabe.printLine = line;
}

void QtUi::PrintItem(std::string_view text) {
    Element& e = AusgabeElement();
    Flaeche& f = *e.flaeche;
    f.druckOrt.rx() += f.Text(f.druckOrt, Q(text));
    const FontState& s = SchriftVon(e);
    e.ausgabe.Print(text, s.size, s.bold, TextfarbeVon(e).value_or(0), false);
}

void QtUi::PrintLine(std::string_view text) {
    Element& e = AusgabeElement();
    Flaeche& f = *e.flaeche;
    f.Text(f.druckOrt, Q(text));
    f.druckOrt = QPoint(0, f.druckOrt.y() + f.Zeilenhoehe());
    const FontState& s = SchriftVon(e);
    e.ausgabe.Print(text, s.size, s.bold, TextfarbeVon(e).value_or(0), true);
}

}  // namespace kaldorin::qt
