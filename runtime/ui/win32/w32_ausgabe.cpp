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

Win32Face::Element& Win32Face::AusgabeElement() {
    if (ausgabe_ == 0) throw Laufzeitfehler("Es ist keine Ausgabefläche gewählt.");
    return Holen(ausgabe_, "Ausgabe");
}

void Win32Face::SelectOutput(Handle surface) {
    Element& e = Holen(surface, "Ausgabe");
    if (!e.flaeche) throw Laufzeitfehler("\"" + e.zustand.name + "\" ist keine Ausgabefläche.");
    ausgabe_ = surface;
}

void Win32Face::ClearOutput() {
    Element& e = AusgabeElement();
    e.flaeche->Leeren();
    e.ausgabe.Clear();
    Zeigen(e.hwnd, *e.flaeche);
}

void Win32Face::SetForeColour(Farbe colour) { TextfarbeVon(AusgabeElement()) = colour; }

void Win32Face::SetOutputFontSize(int points) {
    if (points <= 0) throw Laufzeitfehler("Ungültige Schriftgröße " + std::to_string(points) + ".");
    Element& e = AusgabeElement();
    SchriftVon(e).size = points;
    SchriftAnwenden(e);
}

void Win32Face::SetOutputBold(bool bold) {
    Element& e = AusgabeElement();
    SchriftVon(e).bold = bold;
    SchriftAnwenden(e);
}

void Win32Face::DrawLine(int x1, int y1, int x2, int y2) {
    Element& e = AusgabeElement();
    const Farbe farbe = TextfarbeVon(e).value_or(0);
    e.flaeche->Linie(POINT{x1, y1}, POINT{x2, y2}, Farbref(farbe));
    e.ausgabe.AddLine(x1, y1, x2, y2, farbe);
    Zeigen(e.hwnd, *e.flaeche);
}

void Win32Face::DrawText(int x, int y, std::string_view text) {
    Element& e = AusgabeElement();
    const Farbe farbe = TextfarbeVon(e).value_or(0);
    e.flaeche->Text(e.flaeche->Real(POINT{x, y}), Breit(text), e.schrift, Farbref(farbe));
    const FontState& s = SchriftVon(e);
    e.ausgabe.texts.push_back({x, y, std::string(text), s.size, s.bold, farbe});
    Zeigen(e.hwnd, *e.flaeche);
}

void Win32Face::SetPrintPosition(int column, int line) {
    if (column < 1 || line < 1)
        throw Laufzeitfehler("Ungültige Druckposition " + std::to_string(column) + ", " + std::to_string(line) + ".");
    Element& e = AusgabeElement();
    // Lines are as high as the current font's line spacing, columns as wide as its
    // average character.
    const SIZE masse = e.flaeche->Masse(e.schrift);
    e.flaeche->druckOrt = POINT{(column - 1) * masse.cx, (line - 1) * masse.cy};
    e.ausgabe.printColumn = column;
    e.ausgabe.printLine = line;
}

void Win32Face::PrintItem(std::string_view text) {
    Element& e = AusgabeElement();
    Flaeche& f = *e.flaeche;
    const Farbe farbe = TextfarbeVon(e).value_or(0);
    f.druckOrt.x += f.Text(f.druckOrt, Breit(text), e.schrift, Farbref(farbe));
    const FontState& s = SchriftVon(e);
    e.ausgabe.Print(text, s.size, s.bold, farbe, false);
    Zeigen(e.hwnd, f);
}

void Win32Face::PrintLine(std::string_view text) {
    Element& e = AusgabeElement();
    Flaeche& f = *e.flaeche;
    const Farbe farbe = TextfarbeVon(e).value_or(0);
    f.Text(f.druckOrt, Breit(text), e.schrift, Farbref(farbe));
    f.druckOrt = POINT{0, f.druckOrt.y + f.Masse(e.schrift).cy};
    const FontState& s = SchriftVon(e);
    e.ausgabe.Print(text, s.size, s.bold, farbe, true);
    Zeigen(e.hwnd, f);
}

}  // namespace kaldorin::w32
