// Output into windows and text areas: lines, texts at pixel positions and printed lines.
#include "runtime/ui/headless/headless_face.h"

namespace kaldorin {

HeadlessFace::Element& HeadlessFace::CurrentOutput() {
    if (output_ == 0) throw Laufzeitfehler("Es ist keine Ausgabefläche gewählt.");
    return Get(output_);
}

void HeadlessFace::SelectOutput(Handle surface) {
    Element& e = Get(surface);
    if (!e.isWindow && e.control.kind != Art::TextArea && e.control.kind != Art::Picture)
        throw Laufzeitfehler(NameOf(e) + " ist keine Ausgabefläche.");
    output_ = surface;
}

void HeadlessFace::ClearOutput() { CurrentOutput().output.Clear(); }

void HeadlessFace::SetForeColour(Farbe colour) { TextColourOf(CurrentOutput()) = colour; }

void HeadlessFace::SetOutputFontSize(int points) {
    if (points <= 0) throw Laufzeitfehler("Ungültige Schriftgröße " + std::to_string(points) + ".");
    FontOf(CurrentOutput()).size = points;
}

void HeadlessFace::SetOutputBold(bool bold) { FontOf(CurrentOutput()).bold = bold; }

void HeadlessFace::DrawLine(int x1, int y1, int x2, int y2) {
    Element& e = CurrentOutput();
    e.output.AddLine(x1, y1, x2, y2, TextColourOf(e).value_or(0));
}

void HeadlessFace::DrawText(int x, int y, std::string_view text) {
    Element& e = CurrentOutput();
    const FontState& font = FontOf(e);
    e.output.texts.push_back({x, y, std::string(text), font.size, font.bold, TextColourOf(e).value_or(0)});
}

void HeadlessFace::SetPrintPosition(int column, int line) {
    if (column < 1 || line < 1)
        throw Laufzeitfehler("Ungültige Druckposition " + std::to_string(column) + ", " + std::to_string(line) + ".");
    Element& e = CurrentOutput();
    e.output.printColumn = column;
    e.output.printLine = line;
}

void HeadlessFace::PrintItem(std::string_view text) {
    Element& e = CurrentOutput();
    const FontState& font = FontOf(e);
    e.output.Print(text, font.size, font.bold, TextColourOf(e).value_or(0), false);
}

void HeadlessFace::PrintLine(std::string_view text) {
    Element& e = CurrentOutput();
    const FontState& font = FontOf(e);
    e.output.Print(text, font.size, font.bold, TextColourOf(e).value_or(0), true);
}

}  // namespace kaldorin
