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

// The widget of a control whose kind GetKind has checked.
template <typename T>
T* Als(Element& e) {
    return static_cast<T*>(e.widget.data());
}

}  // namespace

void QtUi::SchriftAnwenden(Element& e) {
    const QFont f = QSchrift(e.Font());
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
    e.widget->setFont(PassendeSchrift(*e.widget, QSchrift(e.Font()), text));
}

void QtUi::SetText(Handle element, std::string_view text) {
    Element& e = Get(element, "Text");
    QWidget* w = e.widget;
    if (e.isWindow) {
        w->setWindowTitle(Q(text));
        e.windowState.title = text;
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
        e.controlState.text = text;  // frames and the like keep it without showing it
    }
}

std::string QtUi::Text(Handle element) {
    Element& e = Get(element, "Text");
    QWidget* w = e.widget;
    if (e.isWindow) return e.windowState.title;
    if (auto* l = qobject_cast<QLabel*>(w)) return U(l->text());
    if (auto* t = qobject_cast<QLineEdit*>(w)) return U(t->text());
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return U(b->text());
    return e.controlState.text;
}

void QtUi::SetTextColour(Handle element, Farbe colour) {
    Element& e = Get(element, "Textfarbe");
    e.TextColour() = colour;
    QPalette pal = e.widget->palette();
    for (auto rolle : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        pal.setColor(rolle, QFarbe(colour));
    e.widget->setPalette(pal);
    if (e.flaeche) e.flaeche->vordergrund = QFarbe(colour);
}

void QtUi::SetBackColour(Handle element, Farbe colour) {
    Element& e = Get(element, "Hintergrundfarbe");
    e.BackColour() = colour;
    if (e.flaeche) {
        // As on the original system, a new back colour clears what was drawn.
        e.flaeche->SetzeHintergrund(QFarbe(colour));
        e.output.Clear();
        return;
    }
    QPalette pal = e.widget->palette();
    for (auto rolle : {QPalette::Window, QPalette::Base, QPalette::Button})
        pal.setColor(rolle, QFarbe(colour));
    e.widget->setPalette(pal);
    e.widget->setAutoFillBackground(!e.controlState.transparent);
}

void QtUi::SetToolTip(Handle element, std::string_view text) {
    Element& e = Get(element, "Tooltip");
    if (e.isWindow) throw Laufzeitfehler("Ein Fenster hat keinen Tooltip.");
    e.controlState.toolTip = text;
    e.widget->setToolTip(Q(text));
}

void QtUi::SetIcon(Handle window, std::string_view resource) {
    Element& e = GetWindow(window);
    e.widget->setWindowIcon(QIcon(Bild(resource)));
    e.windowState.icon = resource;
}

void QtUi::SetPicture(Handle picture, std::string_view resource) {
    Element& e = GetKind(picture, Art::Picture, "Bild");
    Als<QLabel>(e)->setPixmap(Bild(resource));
    e.controlState.picture = resource;
}

void QtUi::SetTransparent(Handle label, bool transparent) {
    Element& e = GetKind(label, Art::Label, "Transparenz");
    auto* l = Als<QLabel>(e);
    e.controlState.transparent = transparent;
    // Without its own background the label shows what lies below: the gradient.
    l->setAutoFillBackground(!transparent && e.controlState.backColour.has_value());
}

void QtUi::SetBorder(Handle textBox, int style) {
    CheckBorder(style);
    Element& e = GetKind(textBox, Art::TextBox, "Rahmen");
    Als<QLineEdit>(e)->setFrame(style != 0);
    e.controlState.border = style;
}

void QtUi::SetSmooth(Handle progressBar, bool smooth) {
    // Qt draws the bar smooth in its own styles; the setting is kept for the record.
    Element& e = GetKind(progressBar, Art::ProgressBar, "Fortschritt");
    e.controlState.smooth = smooth;
}

void QtUi::SetTicked(Handle checkBox, bool ticked) {
    Element& e = GetKind(checkBox, Art::CheckBox, "Haken");
    Als<QCheckBox>(e)->setChecked(ticked);
}

bool QtUi::Ticked(Handle checkBox) {
    Element& e = GetKind(checkBox, Art::CheckBox, "Haken");
    return Als<QCheckBox>(e)->isChecked();
}

void QtUi::SetProgressMax(Handle progressBar, int maximum) {
    Element& e = GetKind(progressBar, Art::ProgressBar, "Fortschritt");
    auto* p = Als<QProgressBar>(e);
    CheckProgressMax(maximum);
    p->setRange(0, maximum);
}

void QtUi::SetProgress(Handle progressBar, int value) {
    Element& e = GetKind(progressBar, Art::ProgressBar, "Fortschritt");
    auto* p = Als<QProgressBar>(e);
    CheckProgress(value, p->maximum());
    p->setValue(value);
}

void QtUi::Move(Handle element, int x, int y) {
    Get(element, "Position").widget->move(x, y);
}

void QtUi::SetAvailable(Handle control, bool available) {
    QWidget* w = Get(control, "Verfügbarkeit").widget;
    // Qt would hand the focus on to the next control at once, in the middle of the
    // handler ("weiter" greyed out while it works would leave it on "abbrechen"). Like
    // Windows, the focus is dropped here and given back at the next top-level wait.
    if (!available && w->hasFocus()) w->clearFocus();
    w->setEnabled(available);
}

bool QtUi::Available(Handle control) {
    return Get(control, "Verfügbarkeit").widget->isEnabled();
}

void QtUi::Focus(Handle control) {
    Element& e = Get(control, "Fokus");
    // A control that cannot take the focus (greyed out) simply does not get it.
    e.widget->setFocus(Qt::OtherFocusReason);
    FocusAsked(control);
}

void QtUi::SetMousePointer(int shape) {
    if (shape == mousePointer_) return;
    if (shape == 0) {
        QApplication::restoreOverrideCursor();
    } else {
        const QCursor zeiger(shape == kBusyPointer ? Qt::WaitCursor : Qt::ArrowCursor);
        if (mousePointer_ != 0) QApplication::changeOverrideCursor(zeiger);
        else QApplication::setOverrideCursor(zeiger);
    }
    mousePointer_ = shape;
}

}  // namespace kaldorin::qt
