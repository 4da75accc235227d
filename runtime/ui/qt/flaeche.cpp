#include "runtime/ui/qt/flaeche.h"

#include <QCloseEvent>
#include <QPainter>

namespace kaldorin::qt {

Flaeche::Flaeche(QWidget* parent, Qt::WindowFlags flags) : QWidget(parent, flags) {
    hintergrund_ = palette().color(QPalette::Window);
    // The surface paints every pixel itself; Qt need not clear it first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void Flaeche::BildVergroessern(QSize groesse) {
    groesse = groesse.expandedTo(bild_.size()).expandedTo(QSize(1, 1));
    if (groesse == bild_.size()) return;
    QImage neu(groesse, QImage::Format_RGB32);
    // Point sizes of printed text follow the screen's resolution, not the image's.
    neu.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    neu.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    neu.fill(hintergrund_);
    QPainter p(&neu);
    p.drawImage(0, 0, bild_);
    bild_ = std::move(neu);
}

void Flaeche::Leeren() {
    BildVergroessern(size());
    bild_.fill(hintergrund_);
    druckOrt = QPoint(0, 0);
    update();
}

void Flaeche::SetzeHintergrund(const QColor& farbe) {
    hintergrund_ = farbe;
    QPalette pal = palette();
    pal.setColor(QPalette::Window, farbe);
    setPalette(pal);
    Leeren();
}

void Flaeche::Linie(QPoint von, QPoint bis) {
    BildVergroessern(size());
    QPainter p(&bild_);
    p.setPen(QPen(vordergrund, 1));
    p.drawLine(von, bis);
    update(QRect(von, bis).normalized().adjusted(-1, -1, 1, 1));
}

int Flaeche::Text(QPoint ort, const QString& text) {
    BildVergroessern(size());
    QPainter p(&bild_);
    p.setFont(schrift);
    p.setPen(vordergrund);
    const QFontMetrics fm(schrift, &bild_);
    p.drawText(ort + QPoint(0, fm.ascent()), text);
    const int breite = fm.horizontalAdvance(text);
    update(QRect(ort, QSize(breite + 2, fm.height())));
    return breite;
}

void Flaeche::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), hintergrund_);
    p.drawImage(event->rect(), bild_, event->rect());
}

void Flaeche::resizeEvent(QResizeEvent* event) {
    BildVergroessern(size());
    QWidget::resizeEvent(event);
}

void Flaeche::closeEvent(QCloseEvent* event) {
    if (schliessenErlaubt || !beimSchliessen) {
        event->accept();
        return;
    }
    // The program decides whether the window goes: report the wish, keep the window.
    event->ignore();
    beimSchliessen();
}

}  // namespace kaldorin::qt
