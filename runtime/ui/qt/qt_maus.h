#pragma once
// A real mouse click on a widget: press and release of the left button at its centre,
// delivered the way the window system delivers them.

class QWidget;

namespace kaldorin::qt {

void MausKlick(QWidget* widget);

}  // namespace kaldorin::qt
