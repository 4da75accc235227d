#include "runtime/ui/face_core.h"

namespace kaldorin {

void CheckFontSize(int points) {
    if (points <= 0) throw Laufzeitfehler("Ungültige Schriftgröße " + std::to_string(points) + ".");
}

void CheckBorder(int style) {
    if (style != 0 && style != 1) throw Laufzeitfehler("Ungültiger Rahmenstil " + std::to_string(style) + ".");
}

void CheckProgressMax(int maximum) {
    if (maximum < 1) throw Laufzeitfehler("Ungültiges Maximum " + std::to_string(maximum) + ".");
}

// Like the real control of the original: a value outside 0..maximum is refused, not
// clamped.
void CheckProgress(int value, int maximum) {
    if (value < 0 || value > maximum) throw Laufzeitfehler("Ungültiger Fortschrittswert " + std::to_string(value) + ".");
}

void CheckPrintPosition(int column, int line) {
    if (column < 1 || line < 1)
        throw Laufzeitfehler("Ungültige Druckposition " + std::to_string(column) + ", " + std::to_string(line) + ".");
}

void NotASurface(const std::string& name) { throw Laufzeitfehler("\"" + name + "\" ist keine Ausgabefläche."); }

}  // namespace kaldorin
