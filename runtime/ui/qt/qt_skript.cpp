// The script on real widgets: clicks are mouse clicks on the control, a close goes
// through the window's close event, typing replaces a text box's text, and a dump
// reads geometry, state and texts back from the widgets.
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>

#include "runtime/ui/qt/qt_hilfen.h"
#include "runtime/ui/qt/qt_maus.h"
#include "runtime/ui/qt/qt_ui.h"

namespace kaldorin::qt {

Placement QtUi::PlaceOf(const Element& e) const {
    const QRect ort = e.widget->geometry();
    const QSize fenster = e.widget->parentWidget() ? e.widget->parentWidget()->size() : QSize();
    return {ort.x(), ort.y(), ort.width(), ort.height(), fenster.width(), fenster.height()};
}

void QtUi::ClickOn(Handle control, const ScriptLine& line) {
    QWidget* w = elements_.at(control).widget;
    if (qobject_cast<QAbstractButton*>(w)) {
        MausKlick(w);  // the button's own clicked signal queues the handler
    } else {
        Queue(line.target + "_Click");
    }
}

void QtUi::TypeInto(Handle textBox, const std::string& text) {
    auto* feld = qobject_cast<QLineEdit*>(elements_.at(textBox).widget.data());
    if (!feld) return;
    feld->setFocus(Qt::MouseFocusReason);
    feld->selectAll();
    feld->insert(Q(text));
}

void QtUi::TickBox(Handle checkBox, bool ticked) {
    if (auto* kasten = qobject_cast<QCheckBox*>(elements_.at(checkBox).widget.data())) kasten->setChecked(ticked);
}

WindowState QtUi::WindowStateOf(Handle window) const {
    const Element& e = elements_.at(window);
    WindowState s = e.windowState;
    if (const QWidget* w = e.widget) {
        // Where the window stands on the screen (its frame), and its inner size.
        s.x = w->pos().x();
        s.y = w->pos().y();
        s.width = w->width();
        s.height = w->height();
        s.available = w->isEnabled();
    }
    s.output = &e.output;
    return s;
}

ControlState QtUi::ControlStateOf(Handle control) const {
    const Element& e = elements_.at(control);
    ControlState s = e.controlState;
    const QWidget* w = e.widget;
    if (!w) return s;
    const QRect ort = w->geometry();
    s.x = ort.x();
    s.y = ort.y();
    s.width = ort.width();
    s.height = ort.height();
    s.available = w->isEnabled();
    if (auto* l = qobject_cast<const QLabel*>(w); l && s.kind != Art::Picture) s.text = U(l->text());
    if (auto* t = qobject_cast<const QLineEdit*>(w)) s.text = U(t->text());
    if (auto* b = qobject_cast<const QAbstractButton*>(w)) s.text = U(b->text());
    if (auto* c = qobject_cast<const QCheckBox*>(w)) s.ticked = c->isChecked();
    if (auto* p = qobject_cast<const QProgressBar*>(w)) {
        s.value = p->value();
        s.maximum = p->maximum();
    }
    if (s.kind == Art::TextArea) s.output = &e.output;
    return s;
}

}  // namespace kaldorin::qt
