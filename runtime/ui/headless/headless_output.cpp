// Output into windows and text areas: lines, texts at pixel positions and printed lines.
#include "runtime/ui/headless/headless_face.h"

namespace kaldorin {

void HeadlessFace::ClearOutput() { OutputElement().output.Clear(); }

void HeadlessFace::SetForeColour(Farbe colour) { OutputElement().TextColour() = colour; }

void HeadlessFace::SetOutputFontSize(int points) {
    CheckFontSize(points);
    OutputElement().Font().size = points;
}

void HeadlessFace::SetOutputBold(bool bold) { OutputElement().Font().bold = bold; }

void HeadlessFace::DrawLine(int x1, int y1, int x2, int y2) { OutputElement().RecordLine(x1, y1, x2, y2); }

void HeadlessFace::DrawText(int x, int y, std::string_view text) { OutputElement().RecordText(x, y, text); }

void HeadlessFace::SetPrintPosition(int column, int line) {
    CheckPrintPosition(column, line);
    Element& e = OutputElement();
    e.output.printColumn = column;
    e.output.printLine = line;
}

void HeadlessFace::PrintItem(std::string_view text) { OutputElement().RecordPrint(text, false); }

void HeadlessFace::PrintLine(std::string_view text) { OutputElement().RecordPrint(text, true); }

}  // namespace kaldorin
