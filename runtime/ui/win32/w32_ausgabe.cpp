// Output into the selected window or text area: lines, text at pixel positions and
// printed lines at a print position. The pixels land in the surface's bitmap, so
// they survive repaints; the same output is recorded for the transcript.
#include "runtime/ui/win32/win32_face.h"

#include "runtime/host/win32/breit.h"
#include "runtime/ui/win32/flaeche_w32.h"

namespace kaldorin::w32 {

namespace {

// Shows what changed on the surface at the next paint.
void Zeigen(HWND hwnd, Flaeche& f) {
    const RECT r = f.Geaendert();
    if (!IsRectEmpty(&r)) InvalidateRect(hwnd, &r, FALSE);
}

}  // namespace

void Win32Face::ClearOutput() {
    Element& e = OutputElement();
    e.flaeche->Leeren();
    e.output.Clear();
    Zeigen(e.hwnd, *e.flaeche);
}

void Win32Face::SetForeColour(Farbe colour) { OutputElement().TextColour() = colour; }

void Win32Face::SetOutputFontSize(int points) {
    CheckFontSize(points);
    Element& e = OutputElement();
    e.Font().size = points;
    SchriftAnwenden(e);
}

void Win32Face::SetOutputBold(bool bold) {
    Element& e = OutputElement();
    e.Font().bold = bold;
    SchriftAnwenden(e);
}

void Win32Face::DrawLine(int x1, int y1, int x2, int y2) {
    Element& e = OutputElement();
    const Farbe farbe = e.TextColour().value_or(0);
    e.flaeche->Linie(POINT{x1, y1}, POINT{x2, y2}, Farbref(farbe));
    e.RecordLine(x1, y1, x2, y2);
    Zeigen(e.hwnd, *e.flaeche);
}

void Win32Face::DrawText(int x, int y, std::string_view text) {
    Element& e = OutputElement();
    const Farbe farbe = e.TextColour().value_or(0);
    e.flaeche->Text(e.flaeche->Real(POINT{x, y}), Breit(text), e.schrift, Farbref(farbe));
    e.RecordText(x, y, text);
    Zeigen(e.hwnd, *e.flaeche);
}

void Win32Face::SetPrintPosition(int column, int line) {
    CheckPrintPosition(column, line);
    Element& e = OutputElement();
    // Lines are as high as the current font's line spacing, columns as wide as its
    // average character.
    const SIZE masse = e.flaeche->Masse(e.schrift);
    e.flaeche->druckOrt = POINT{(column - 1) * masse.cx, (line - 1) * masse.cy};
    e.output.printColumn = column;
    e.output.printLine = line;
}

void Win32Face::PrintItem(std::string_view text) {
    Element& e = OutputElement();
    Flaeche& f = *e.flaeche;
    const Farbe farbe = e.TextColour().value_or(0);
    f.druckOrt.x += f.Text(f.druckOrt, Breit(text), e.schrift, Farbref(farbe));
    e.RecordPrint(text, false);
    Zeigen(e.hwnd, f);
}

void Win32Face::PrintLine(std::string_view text) {
    Element& e = OutputElement();
    Flaeche& f = *e.flaeche;
    const Farbe farbe = e.TextColour().value_or(0);
    f.Text(f.druckOrt, Breit(text), e.schrift, Farbref(farbe));
    f.druckOrt = POINT{0, f.druckOrt.y + f.Masse(e.schrift).cy};
    e.RecordPrint(text, true);
    Zeigen(e.hwnd, f);
}

}  // namespace kaldorin::w32
