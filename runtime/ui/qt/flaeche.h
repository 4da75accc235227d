#pragma once
// A drawing surface that keeps what was drawn into it: the body of a window (the
// background window, the licence window, a form) or a printable text area. Lines and
// text go into an image that paintEvent copies to the screen, so the drawing survives
// every repaint.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>

#include <functional>

namespace kaldorin::qt {

class Flaeche : public QWidget {
public:
    Flaeche(QWidget* parent, Qt::WindowFlags flags);

    // Fills the surface with its back colour and puts the print position top left.
    void Leeren();
    void SetzeHintergrund(const QColor& farbe);
    QColor Hintergrund() const { return hintergrund_; }

    void Linie(QPoint von, QPoint bis);
    // Draws text with its top left at `ort`; returns the width drawn.
    int Text(QPoint ort, const QString& text);
    // Height of a printed line in the current font: 1.2 times its pixel size, as the
    // text was laid out for, whatever leading the substituted font brings.
    int Zeilenhoehe() const;

    // State of the printed output: colour, font and position.
    QColor vordergrund = Qt::black;
    QFont schrift;
    QPoint druckOrt;

    // Called instead of closing when the user closes the window through its frame.
    std::function<void()> beimSchliessen;
    // Set when the program itself closes the window: the close then goes through.
    bool schliessenErlaubt = false;
    // A text area shows a sunken edge around what is printed into it.
    bool rahmen = false;

    const QImage& Bild() const { return bild_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BildVergroessern(QSize groesse);
    double Pixelgroesse() const;
    // Where the image's (0, 0) appears in the widget.
    QPoint Versatz() const;

    QImage bild_;
    QColor hintergrund_;
};

}  // namespace kaldorin::qt
