#include "runtime/ui/qt/qt_maus.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>

namespace kaldorin::qt {

void MausKlick(QWidget* widget) {
    QPointer<QWidget> ziel(widget);
    const QPointF mitte = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(mitte);
    QMouseEvent druck(QEvent::MouseButtonPress, mitte, mitte, global, Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &druck);
    // The press may already have closed the widget's window.
    if (!ziel) return;
    QMouseEvent los(QEvent::MouseButtonRelease, mitte, mitte, global, Qt::LeftButton,
                    Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(ziel, &los);
}

}  // namespace kaldorin::qt
