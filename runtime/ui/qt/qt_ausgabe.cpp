// Output into the selected window or text area: lines, text at pixel positions and
// printed lines at a print position. The pixels land in the surface's image, so they
// survive repaints; the same output is recorded for the transcript.
#include <QFontMetrics>

#include "runtime/ui/qt/flaeche.h"
#include "runtime/ui/qt/qt_hilfen.h"
#include "runtime/ui/qt/qt_ui.h"

namespace kaldorin::qt {

void QtUi::ClearOutput() {
    Element& e = OutputElement();
    e.flaeche->Leeren();
    e.output.Clear();
}

void QtUi::SetForeColour(Farbe colour) {
    Element& e = OutputElement();
    e.TextColour() = colour;
    e.flaeche->vordergrund = QFarbe(colour);
}

void QtUi::SetOutputFontSize(int points) {
    CheckFontSize(points);
    Element& e = OutputElement();
    e.Font().size = points;
    e.flaeche->schrift.setPointSize(points);
}

void QtUi::SetOutputBold(bool bold) {
    Element& e = OutputElement();
    e.Font().bold = bold;
    e.flaeche->schrift.setBold(bold);
}

void QtUi::DrawLine(int x1, int y1, int x2, int y2) {
    Element& e = OutputElement();
    e.flaeche->Linie(QPoint(x1, y1), QPoint(x2, y2));
    e.RecordLine(x1, y1, x2, y2);
}

void QtUi::DrawText(int x, int y, std::string_view text) {
    Element& e = OutputElement();
    e.flaeche->Text(QPoint(x, y), Q(text));
    e.RecordText(x, y, text);
}

void QtUi::SetPrintPosition(int column, int line) {
    CheckPrintPosition(column, line);
    Element& e = OutputElement();
    Flaeche& f = *e.flaeche;
    // Columns are as wide as the current font's average character.
    const QFontMetrics fm(f.schrift, &f);
    f.druckOrt = QPoint((column - 1) * fm.averageCharWidth(), (line - 1) * f.Zeilenhoehe());
    e.output.printColumn = column;
    e.output.printLine = line;
}

void QtUi::PrintItem(std::string_view text) {
    Element& e = OutputElement();
    Flaeche& f = *e.flaeche;
    f.druckOrt.rx() += f.Text(f.druckOrt, Q(text));
    e.RecordPrint(text, false);
}

void QtUi::PrintLine(std::string_view text) {
    Element& e = OutputElement();
    Flaeche& f = *e.flaeche;
    f.Text(f.druckOrt, Q(text));
    f.druckOrt = QPoint(0, f.druckOrt.y() + f.Zeilenhoehe());
    e.RecordPrint(text, true);
}

}  // namespace kaldorin::qt
