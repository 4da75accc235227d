// The keyboard in the program's windows: Tab order, Enter, Space and Escape as the
// shared rules say, and the focus put back in the front window at each top-level wait.
// Alerts, message boxes and the folder chooser keep Qt's own keyboard.
#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

#include <optional>

#include "runtime/ui/qt/qt_ui.h"

namespace kaldorin::qt {
namespace {

// Sees every key before the widget it is meant for.
class Tastenfilter : public QObject {
public:
    explicit Tastenfilter(QtUi& ui) : ui_(ui) {}
    bool eventFilter(QObject* ziel, QEvent* ereignis) override {
        if (ereignis->type() != QEvent::KeyPress) return false;
        auto* widget = qobject_cast<QWidget*>(ziel);
        return widget && ui_.TasteBearbeiten(widget, static_cast<const QKeyEvent&>(*ereignis));
    }

private:
    QtUi& ui_;
};

std::optional<Key> TasteVon(const QKeyEvent& ereignis) {
    if (ereignis.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    switch (ereignis.key()) {
        case Qt::Key_Tab:
            return ereignis.modifiers() & Qt::ShiftModifier ? Key::ShiftTab : Key::Tab;
        case Qt::Key_Backtab: return Key::ShiftTab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return Key::Enter;
        case Qt::Key_Space: return Key::Space;
        case Qt::Key_Escape: return Key::Escape;
        default: return std::nullopt;
    }
}

}  // namespace

void QtUi::TastaturAnmelden() {
    if (!QCoreApplication::instance()) return;
    tastenfilter_ = std::make_unique<Tastenfilter>(*this);
    QCoreApplication::instance()->installEventFilter(tastenfilter_.get());
}

Handle QtUi::ElementVon(const QWidget* widget) const {
    if (!widget) return 0;
    for (const auto& [handle, e] : elements_)
        if (e.open && e.widget == widget) return handle;
    return 0;
}

// Moved out of view is hidden, as the program hides its control groups.
bool QtUi::InView(const Element& e) const {
    const QWidget* eltern = e.widget->parentWidget();
    return !e.widget->isHidden() && eltern && QRect(QPoint(), eltern->size()).intersects(e.widget->geometry());
}

Handle QtUi::ToolkitFocus() const { return ElementVon(QApplication::focusWidget()); }

bool QtUi::HoldsFocus(Handle control, Handle) const {
    return QApplication::focusWidget() == Widget(control) && Widget(control)->isActiveWindow();
}

void QtUi::GiveFocus(Handle control) {
    QWidget* w = Widget(control);
    if (!w) return;
    QWidget* fenster = w->window();
    // The style draws the focus rectangle only after a focus change by keyboard.
    fenster->setAttribute(Qt::WA_KeyboardFocusChange);
    if (!fenster->isActiveWindow()) fenster->activateWindow();
    w->setFocus(Qt::TabFocusReason);
    keyboard_.Got(control);
}

void QtUi::Press(Handle control) {
    if (auto* knopf = qobject_cast<QAbstractButton*>(Widget(control))) knopf->click();
}

void QtUi::CloseByFrame(Handle window) { elements_.at(window).widget->close(); }

bool QtUi::TasteBearbeiten(QWidget* empfaenger, const QKeyEvent& ereignis) {
    QWidget* fensterWidget = empfaenger->window();
    const std::optional<Key> taste = TasteVon(ereignis);
    return taste && KeyPressed(*taste, ElementVon(fensterWidget), ElementVon(fensterWidget->focusWidget()),
                               ereignis.isAutoRepeat());
}

}  // namespace kaldorin::qt
