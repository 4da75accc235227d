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

std::optional<Taste> TasteVon(const QKeyEvent& ereignis) {
    if (ereignis.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    switch (ereignis.key()) {
        case Qt::Key_Tab:
            return ereignis.modifiers() & Qt::ShiftModifier ? Taste::UmschaltTab : Taste::Tab;
        case Qt::Key_Backtab: return Taste::UmschaltTab;
        case Qt::Key_Return:
        case Qt::Key_Enter: return Taste::Enter;
        case Qt::Key_Space: return Taste::Leertaste;
        case Qt::Key_Escape: return Taste::Escape;
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
    for (const auto& [handle, e] : elemente_)
        if (e.offen && e.widget == widget) return handle;
    return 0;
}

Handle QtUi::Vorderfenster() const {
    for (auto it = elemente_.rbegin(); it != elemente_.rend(); ++it) {
        const Element& e = it->second;
        if (e.istFenster && e.offen && e.widget && e.widget->isVisible()) return it->first;
    }
    return 0;
}

std::vector<Tastenziel> QtUi::Tastenziele(Handle fenster) const {
    std::vector<Tastenziel> ziele;
    for (const auto& [handle, e] : elemente_) {
        if (e.istFenster || !e.offen || e.fenster != fenster || !e.widget) continue;
        const QWidget* w = e.widget;
        const QWidget* eltern = w->parentWidget();
        // Moved out of view is hidden, as the program hides its control groups.
        const bool gezeigt =
            !w->isHidden() && eltern && QRect(QPoint(), eltern->size()).intersects(w->geometry());
        ziele.push_back({handle, e.zustand.kind, gezeigt, w->isEnabled()});
    }
    return ziele;
}

Handle QtUi::Tastenfokus() const {
    const Handle h = ElementVon(QApplication::focusWidget());
    return h && elemente_.at(h).fenster == Vorderfenster() ? h : 0;
}

void QtUi::FokusGeben(Handle control) {
    QWidget* w = Widget(control);
    if (!w) return;
    QWidget* fenster = w->window();
    // The style draws the focus rectangle only after a focus change by keyboard.
    fenster->setAttribute(Qt::WA_KeyboardFocusChange);
    if (!fenster->isActiveWindow()) fenster->activateWindow();
    w->setFocus(Qt::TabFocusReason);
    tastatur_.Bekommen(control);
}

void QtUi::FokusPruefen() {
    const Handle fenster = Vorderfenster();
    if (!fenster) return;
    const Handle ziel = tastatur_.Pruefen(fenster, Tastenziele(fenster));
    if (ziel) {
        if (QApplication::focusWidget() != Widget(ziel) || !Widget(ziel)->isActiveWindow())
            FokusGeben(ziel);
    } else if (QWidget* w = Widget(fenster); !w->isActiveWindow()) {
        w->activateWindow();
    }
}

bool QtUi::TasteBearbeiten(QWidget* empfaenger, const QKeyEvent& ereignis) {
    QWidget* fensterWidget = empfaenger->window();
    const Handle fenster = ElementVon(fensterWidget);
    if (!fenster || !elemente_.at(fenster).istFenster) return false;  // a dialog's own keys
    const std::optional<Taste> taste = TasteVon(ereignis);
    if (!taste) return false;
    Handle fokus = ElementVon(fensterWidget->focusWidget());
    if (fokus && elemente_.at(fokus).fenster != fenster) fokus = 0;
    const Art art = fokus ? elemente_.at(fokus).zustand.kind : Art::Label;
    switch (const Tastenwirkung wirkung = Wirkung(*taste, art)) {
        case Tastenwirkung::Keine: return false;
        case Tastenwirkung::Vor:
        case Tastenwirkung::Zurueck:
            if (const Handle ziel = TabZiel(Tastenziele(fenster), fokus, wirkung == Tastenwirkung::Zurueck))
                FokusGeben(ziel);
            return true;
        case Tastenwirkung::Druecken:
        case Tastenwirkung::Umschalten:
            // A held key presses once, as a held mouse button does.
            if (!ereignis.isAutoRepeat())
                if (auto* knopf = qobject_cast<QAbstractButton*>(Widget(fokus)); knopf && knopf->isEnabled())
                    knopf->click();
            return true;
        case Tastenwirkung::Schliessen:
            if (!ereignis.isAutoRepeat()) fensterWidget->close();
            return true;
    }
    return false;
}

}  // namespace kaldorin::qt
