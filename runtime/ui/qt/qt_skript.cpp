// The script on real widgets: clicks are mouse clicks on the control, a close goes
// through the window's close event, typing replaces a text box's text, and a dump
// reads geometry, state and texts back from the widgets.
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include "runtime/ui/qt/qt_hilfen.h"
#include "runtime/ui/qt/qt_maus.h"
#include "runtime/ui/qt/qt_ui.h"
#include "runtime/ui/script_player.h"

namespace kaldorin::qt {

void QtUi::NaechsteAktion() {
    if (skript_->Empty()) lauf_.ScriptEnded("the program waits for the user");
    Ausfuehren(skript_->Take());
}

void QtUi::Ausfuehren(const ScriptLine& line) {
    switch (line.action) {
        case ScriptAction::Click: return Klicken(line);
        case ScriptAction::Close: return Schliessen(line);
        case ScriptAction::Type: return Tippen(line);
        case ScriptAction::Tick: return Haken(line);
        case ScriptAction::Dump: return Abbild();
        case ScriptAction::Answer:
        case ScriptAction::Folder:
            lauf_.ScriptFault(line, "no alert, message or folder dialog is open");
    }
}

// Why the user cannot reach `control` now, "" when it can.
std::string QtUi::WarumNichtErreichbar(Handle control) const {
    const Element& e = elemente_.at(control);
    if (!e.offen || !e.widget) return WhyNotReachable(false, false, {});
    const QWidget* w = e.widget;
    const QRect ort = w->geometry();
    const QSize fenster = w->parentWidget() ? w->parentWidget()->size() : QSize();
    return WhyNotReachable(true, w->isEnabled(),
                           {ort.x(), ort.y(), ort.width(), ort.height(), fenster.width(), fenster.height()});
}

void QtUi::ZielPruefen(const ScriptLine& line, Handle h) {
    ScriptTarget ziel;
    if (h != 0) ziel = {true, elemente_.at(h).istFenster, elemente_.at(h).zustand.kind};
    if (std::string fehler = TargetFault(line, ziel); !fehler.empty()) lauf_.ScriptFault(line, fehler);
}

void QtUi::Klicken(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    ZielPruefen(line, h);
    if (!ReportAction(transcript_, line, WarumNichtErreichbar(h))) return;
    QWidget* w = elemente_.at(h).widget;
    if (qobject_cast<QAbstractButton*>(w)) {
        MausKlick(w);  // the button's own clicked signal queues the handler
    } else {
        Melden(line.target + "_Click");
    }
}

void QtUi::Schliessen(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    ZielPruefen(line, h);
    const Element& e = elemente_.at(h);
    // Through the frame: the close event reaches the program, which decides.
    if (ReportAction(transcript_, line, e.offen ? "" : "window closed")) e.widget->close();
}

void QtUi::Tippen(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    ZielPruefen(line, h);
    auto* feld = qobject_cast<QLineEdit*>(elemente_.at(h).widget.data());
    if (!ReportAction(transcript_, line, WarumNichtErreichbar(h)) || !feld) return;
    feld->setFocus(Qt::MouseFocusReason);
    feld->selectAll();
    feld->insert(Q(line.text));
}

void QtUi::Haken(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    ZielPruefen(line, h);
    if (!ReportAction(transcript_, line, WarumNichtErreichbar(h))) return;
    if (auto* kasten = qobject_cast<QCheckBox*>(elemente_.at(h).widget.data()))
        kasten->setChecked(line.number == 1);
}

WindowState QtUi::FensterZustand(Handle window) const {
    const Element& e = elemente_.at(window);
    WindowState s = e.fensterZustand;
    if (const QWidget* w = e.widget) {
        // Where the window stands on the screen (its frame), and its inner size.
        s.x = w->pos().x();
        s.y = w->pos().y();
        s.width = w->width();
        s.height = w->height();
        s.available = w->isEnabled();
    }
    s.output = &e.ausgabe;
    return s;
}

ControlState QtUi::Zustand(Handle control) const {
    const Element& e = elemente_.at(control);
    ControlState s = e.zustand;
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
    if (s.kind == Art::TextArea) s.output = &e.ausgabe;
    return s;
}

void QtUi::Abbild() {
    std::vector<WindowState> fenster;
    std::vector<ControlState> controls;
    for (const auto& [handle, e] : elemente_) {
        if (!e.offen || !e.widget) continue;
        if (e.istFenster) fenster.push_back(FensterZustand(handle));
        else controls.push_back(Zustand(handle));
    }
    std::string fokus;
    if (auto it = elemente_.find(fokus_); it != elemente_.end() && it->second.offen)
        fokus = it->second.zustand.name;
    transcript_.Dump(fenster, controls, fokus, mauszeiger_);
}

}  // namespace kaldorin::qt
