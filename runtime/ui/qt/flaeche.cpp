#include "runtime/ui/qt/flaeche.h"

#include <QCloseEvent>
#include <QPainter>

#include <algorithm>

namespace kaldorin::qt {
namespace {
constexpr int kRand = 2;
}  // namespace

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
    update(QRect(von, bis).normalized().adjusted(-1, -1, 1, 1).translated(Versatz()));
}

QPoint Flaeche::Versatz() const { return rahmen ? QPoint(kRand, kRand) : QPoint(); }

double Flaeche::Pixelgroesse() const {
    const double punkte = schrift.pointSizeF() > 0 ? schrift.pointSizeF() : 8.0;
    return punkte * logicalDpiY() / 72.0;
}

int Flaeche::Zeilenhoehe() const { return qRound(1.2 * Pixelgroesse()); }

int Flaeche::Text(QPoint ort, const QString& text) {
    BildVergroessern(size());
    QPainter p(&bild_);
    p.setFont(schrift);
    p.setPen(vordergrund);
    const QFontMetrics fm(schrift, &bild_);
    // The baseline sits where the capitals and umlauts of the line still fit above it.
    const int grundlinie = std::min(fm.ascent(), qRound(0.95 * Pixelgroesse()));
    p.drawText(ort + QPoint(0, grundlinie), text);
    const int breite = fm.horizontalAdvance(text);
    update(QRect(ort + Versatz(), QSize(breite + 2, std::max(fm.height(), Zeilenhoehe()))));
    return breite;
}

void Flaeche::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(event->rect(), hintergrund_);
    if (!rahmen) {
        p.drawImage(event->rect(), bild_, event->rect());
        return;
    }
    // A text area's drawing starts inside its sunken 2-pixel edge.
    const QRect innen = rect().adjusted(kRand, kRand, -kRand, -kRand);
    p.setClipRect(innen);
    p.drawImage(innen.topLeft(), bild_);
    p.setClipping(false);
    const QRect r = rect().adjusted(0, 0, -1, -1);
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(palette().color(QPalette::Shadow));
    p.drawLine(r.topLeft() + QPoint(1, 1), r.topRight() + QPoint(-1, 1));
    p.drawLine(r.topLeft() + QPoint(1, 1), r.bottomLeft() + QPoint(1, -1));
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
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
