#pragma once
// Whether a control's text fits the control in a font, and the largest size of a font
// at which it does. The program's layout was made for one font; on a system whose
// fonts run wider, a text that would be cut is drawn smaller instead.

#include <QFont>
#include <QString>

class QWidget;

namespace kaldorin::qt {

// Whether `text` fits `control` (a label, button or check box) in `schrift`: a
// label's lines break at its width and their baselines lie inside it; a button's
// caption keeps a margin to the border; a check box's text starts right of its box.
bool TextPasst(const QWidget& control, const QFont& schrift, const QString& text);

// `schrift`, or the largest size of it (in half points, down to 4 pt) at which
// `text` fits `control`.
QFont PassendeSchrift(const QWidget& control, const QFont& schrift, const QString& text);

}  // namespace kaldorin::qt
