#include "runtime/ui/qt/qt_passform.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QStyle>

namespace kaldorin::qt {

namespace {
constexpr int kKnopfRand = 4;  // between a button's caption and its border, each side
}

bool TextPasst(const QWidget& control, const QFont& schrift, const QString& text) {
    if (text.isEmpty()) return true;
    const QFontMetrics fm(schrift);
    const int b = control.width(), h = control.height();
    if (qobject_cast<const QLabel*>(&control)) {
        const QRect r = fm.boundingRect(QRect(0, 0, b, 1 << 20), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, text);
        return r.width() <= b && r.height() - fm.descent() <= h;
    }
    if (qobject_cast<const QCheckBox*>(&control)) {
        const QStyle* stil = control.style();
        const int vorne = stil->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &control) +
                          stil->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, &control);
        return vorne + fm.horizontalAdvance(text) <= b && fm.height() <= h;
    }
    if (qobject_cast<const QAbstractButton*>(&control))
        return fm.horizontalAdvance(text) + 2 * kKnopfRand <= b && fm.height() <= h;
    return true;
}

QFont PassendeSchrift(const QWidget& control, const QFont& schrift, const QString& text) {
    QFont f = schrift;
    while (!TextPasst(control, f, text) && f.pointSizeF() > 4.0) f.setPointSizeF(f.pointSizeF() - 0.5);
    return f;
}

}  // namespace kaldorin::qt
