// Properties of controls and windows: texts, fonts, colours, pictures, states.
#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include <algorithm>

#include "runtime/ui/qt/flaeche.h"
#include "runtime/ui/qt/qt_hilfen.h"
#include "runtime/ui/qt/qt_passform.h"
#include "runtime/ui/qt/qt_ui.h"

namespace kaldorin::qt {
namespace {

template <typename T>
T* Als(QtUi::Element& e, const char* was) {
    if (auto* t = qobject_cast<T*>(e.widget.data())) return t;
    throw Laufzeitfehler("\"" + e.zustand.name + "\" ist kein " + was + ".");
}

}  // namespace

FontState& QtUi::SchriftVon(Element& e) { return e.istFenster ? e.fensterZustand.font : e.zustand.font; }

std::optional<Farbe>& QtUi::TextfarbeVon(Element& e) {
    return e.istFenster ? e.fensterZustand.textColour : e.zustand.textColour;
}

void QtUi::SchriftAnwenden(Element& e) {
    const QFont f = QSchrift(SchriftVon(e));
    e.widget->setFont(f);
    // Text printed into a window or text area follows its font.
    if (e.flaeche) e.flaeche->schrift = f;
    Einpassen(e);
}

// A text that does not fit its control in the program's font is drawn at the
// largest size that fits; the program's font stays what it set.
void QtUi::Einpassen(Element& e) {
    QString text;
    if (auto* l = qobject_cast<QLabel*>(e.widget.data())) text = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(e.widget.data())) text = b->text();
    else return;
    e.widget->setFont(PassendeSchrift(*e.widget, QSchrift(SchriftVon(e)), text));
}

void QtUi::SetText(Handle element, std::string_view text) {
    Element& e = Holen(element, "Text");
    QWidget* w = e.widget;
    if (e.istFenster) {
        w->setWindowTitle(Q(text));
        e.fensterZustand.title = text;
    } else if (auto* l = qobject_cast<QLabel*>(w)) {
        l->setText(Q(text));
        Einpassen(e);
    } else if (auto* t = qobject_cast<QLineEdit*>(w)) {
        t->setText(Q(text));
        t->setCursorPosition(0);
    } else if (auto* b = qobject_cast<QAbstractButton*>(w)) {
        b->setText(Q(text));
        Einpassen(e);
    } else {
        e.zustand.text = text;  // frames and the like keep it without showing it
    }
}

std::string QtUi::Text(Handle element) {
    Element& e = Holen(element, "Text");
    QWidget* w = e.widget;
    if (e.istFenster) return e.fensterZustand.title;
    if (auto* l = qobject_cast<QLabel*>(w)) return U(l->text());
    if (auto* t = qobject_cast<QLineEdit*>(w)) return U(t->text());
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return U(b->text());
    return e.zustand.text;
}

void QtUi::SetFontName(Handle element, std::string_view name) {
    Element& e = Holen(element, "Schrift");
    SchriftVon(e).name = name;
    SchriftAnwenden(e);
}

void QtUi::SetFontSize(Handle element, int points) {
    if (points <= 0) throw Laufzeitfehler("Ungültige Schriftgröße " + std::to_string(points) + ".");
    Element& e = Holen(element, "Schrift");
    SchriftVon(e).size = points;
    SchriftAnwenden(e);
}

void QtUi::SetFontBold(Handle element, bool bold) {
    Element& e = Holen(element, "Schrift");
    SchriftVon(e).bold = bold;
    SchriftAnwenden(e);
}

void QtUi::SetTextColour(Handle element, Farbe colour) {
    Element& e = Holen(element, "Textfarbe");
    TextfarbeVon(e) = colour;
    QPalette pal = e.widget->palette();
    for (auto rolle : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(rolle, QFarbe(colour));
    e.widget->setPalette(pal);
    if (e.flaeche) e.flaeche->vordergrund = QFarbe(colour);
}

void QtUi::SetBackColour(Handle element, Farbe colour) {
    Element& e = Holen(element, "Hintergrundfarbe");
    (e.istFenster ? e.fensterZustand.backColour : e.zustand.backColour) = colour;
    if (e.flaeche) {
        // As on the original system, a new back colour clears what was drawn.
        e.flaeche->SetzeHintergrund(QFarbe(colour));
        e.ausgabe.Clear();
        return;
    }
    QPalette pal = e.widget->palette();
    for (auto rolle : {QPalette::Window, QPalette::Base, QPalette::Button})
        pal.setColor(rolle, QFarbe(colour));
    e.widget->setPalette(pal);
    e.widget->setAutoFillBackground(!e.zustand.transparent);
}

void QtUi::SetToolTip(Handle element, std::string_view text) {
    Element& e = Holen(element, "Tooltip");
    if (e.istFenster) throw Laufzeitfehler("Ein Fenster hat keinen Tooltip.");
    e.zustand.toolTip = text;
    e.widget->setToolTip(Q(text));
}

void QtUi::SetIcon(Handle window, std::string_view resource) {
    Element& e = HolenFenster(window);
    e.widget->setWindowIcon(QIcon(Bild(resource)));
    e.fensterZustand.icon = resource;
}

void QtUi::SetPicture(Handle picture, std::string_view resource) {
    Element& e = Holen(picture, "Bild");
    Als<QLabel>(e, "Bildfeld")->setPixmap(Bild(resource));
    e.zustand.picture = resource;
}

void QtUi::SetTransparent(Handle label, bool transparent) {
    Element& e = Holen(label, "Transparenz");
    auto* l = Als<QLabel>(e, "Bezeichnungsfeld");
    e.zustand.transparent = transparent;
    // Without its own background the label shows what lies below: the gradient.
    l->setAutoFillBackground(!transparent && e.zustand.backColour.has_value());
}

void QtUi::SetBorder(Handle textBox, int style) {
    Element& e = Holen(textBox, "Rahmen");
    Als<QLineEdit>(e, "Textfeld")->setFrame(style != 0);
    e.zustand.border = style;
}

void QtUi::SetSmooth(Handle progressBar, bool smooth) {
    Element& e = Holen(progressBar, "Fortschritt");
    // Qt draws the bar smooth in its own styles; the setting is kept for the record.
    Als<QProgressBar>(e, "Fortschrittsbalken");
    e.zustand.smooth = smooth;
}

void QtUi::SetAutoRedraw(Handle surface, bool keep) {
    Element& e = Holen(surface, "Ausgabe");
    // Every surface of this face keeps its drawing; the setting is kept for the record.
    if (e.istFenster) {
        e.fensterZustand.autoRedraw = keep;
        return;
    }
    if (!e.flaeche && e.zustand.kind != Art::Picture)
        throw Laufzeitfehler("\"" + e.zustand.name + "\" ist keine Ausgabefläche.");
    e.zustand.autoRedraw = keep;
}

void QtUi::SetTicked(Handle checkBox, bool ticked) {
    Element& e = Holen(checkBox, "Haken");
    Als<QCheckBox>(e, "Kontrollkästchen")->setChecked(ticked);
}

bool QtUi::Ticked(Handle checkBox) {
    Element& e = Holen(checkBox, "Haken");
    return Als<QCheckBox>(e, "Kontrollkästchen")->isChecked();
}

void QtUi::SetProgressMax(Handle progressBar, int maximum) {
    Element& e = Holen(progressBar, "Fortschritt");
    auto* p = Als<QProgressBar>(e, "Fortschrittsbalken");
    if (maximum < 1) throw Laufzeitfehler("Ungültiges Maximum " + std::to_string(maximum) + ".");
    p->setRange(0, maximum);
}

void QtUi::SetProgress(Handle progressBar, int value) {
    Element& e = Holen(progressBar, "Fortschritt");
    auto* p = Als<QProgressBar>(e, "Fortschrittsbalken");
    if (value < 0 || value > p->maximum())
        throw Laufzeitfehler("Ungültiger Fortschrittswert " + std::to_string(value) + ".");
    p->setValue(value);
}

void QtUi::Move(Handle element, int x, int y) {
    Holen(element, "Position").widget->move(x, y);
}

void QtUi::SetAvailable(Handle control, bool available) {
    QWidget* w = Holen(control, "Verfügbarkeit").widget;
    // Qt would hand the focus on to the next control at once, in the middle of the
    // handler ("weiter" greyed out while it works would leave it on "abbrechen"). Like
    // Windows, the focus is dropped here and given back at the next top-level wait.
    if (!available && w->hasFocus()) w->clearFocus();
    w->setEnabled(available);
}

bool QtUi::Available(Handle control) {
    return Holen(control, "Verfügbarkeit").widget->isEnabled();
}

void QtUi::Focus(Handle control) {
    Element& e = Holen(control, "Fokus");
    // A control that cannot take the focus (greyed out) simply does not get it.
    e.widget->setFocus(Qt::OtherFocusReason);
    fokus_ = control;
    tastatur_.Verlangt(control);
}

void QtUi::SetMousePointer(int shape) {
    if (shape == mauszeiger_) return;
    if (shape == 0) {
        QApplication::restoreOverrideCursor();
    } else {
        const QCursor zeiger(shape == 11 ? Qt::WaitCursor : Qt::ArrowCursor);
        if (mauszeiger_ != 0) QApplication::changeOverrideCursor(zeiger);
        else QApplication::setOverrideCursor(zeiger);
    }
    mauszeiger_ = shape;
}

}  // namespace kaldorin::qt
