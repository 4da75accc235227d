// The script on real widgets: clicks are mouse clicks on the control, a close goes
// through the window's close event, typing replaces a text box's text, and a dump
// reads geometry, state and texts back from the widgets.
#include <QAbstractButton>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <iostream>

#include "runtime/ui/qt/qt_hilfen.h"
#include "runtime/ui/qt/qt_maus.h"
#include "runtime/ui/qt/qt_ui.h"

namespace kaldorin::qt {

void QtUi::SkriptFehler(const ScriptLine& line, const std::string& grund) {
    transcript_.Error(line.line, line.source, grund);
    std::cerr << "kaldorin-setup: script line " << line.line << " (\"" << line.source
              << "\"): " << grund << '\n';
    Beenden(2);
}

void QtUi::NaechsteAktion() {
    if (skript_->Empty()) {
        std::cerr << "kaldorin-setup: the script ended while the program waits for the user\n";
        Beenden(3);
    }
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
            SkriptFehler(line, "no alert, message or folder dialog is open");
    }
}

// Why the user cannot reach `control` now, "" when it can.
std::string QtUi::WarumNichtErreichbar(Handle control) const {
    const Element& e = elemente_.at(control);
    if (!e.offen || !e.widget) return "window closed";
    const QWidget* w = e.widget;
    if (!w->isEnabled()) return "not available";
    const QRect ort = w->geometry();
    const QSize fenster = w->parentWidget() ? w->parentWidget()->size() : QSize();
    const bool draussen = ort.right() < 0 || ort.bottom() < 0 || ort.x() >= fenster.width() ||
                          ort.y() >= fenster.height();
    if (ort.x() <= -1000 || ort.y() <= -1000 || draussen) return "out of view";
    return "";
}

void QtUi::Klicken(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    if (h == 0) SkriptFehler(line, "no control named " + line.target);
    if (elemente_.at(h).istFenster) SkriptFehler(line, line.target + " is a window; use close");
    const std::string warum = WarumNichtErreichbar(h);
    transcript_.Click(line.target, warum);
    if (!warum.empty()) return;
    QWidget* w = elemente_.at(h).widget;
    if (qobject_cast<QAbstractButton*>(w)) {
        MausKlick(w);  // the button's own clicked signal queues the handler
    } else {
        Melden(line.target + "_Click");
    }
}

void QtUi::Schliessen(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    if (h == 0) SkriptFehler(line, "no window named " + line.target);
    const Element& e = elemente_.at(h);
    if (!e.istFenster) SkriptFehler(line, line.target + " is not a window");
    transcript_.Close(line.target, e.offen ? "" : "window closed");
    // Through the frame: the close event reaches the program, which decides.
    if (e.offen) e.widget->close();
}

void QtUi::Tippen(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    auto* feld = h ? qobject_cast<QLineEdit*>(elemente_.at(h).widget.data()) : nullptr;
    if (h == 0 || elemente_.at(h).istFenster || elemente_.at(h).zustand.kind != Art::TextBox)
        SkriptFehler(line, "no text box named " + line.target);
    const std::string warum = WarumNichtErreichbar(h);
    transcript_.Type(line.target, line.text, warum);
    if (!warum.empty() || !feld) return;
    feld->setFocus(Qt::MouseFocusReason);
    feld->selectAll();
    feld->insert(Q(line.text));
}

void QtUi::Haken(const ScriptLine& line) {
    const Handle h = Nachschlagen(line.target);
    if (h == 0 || elemente_.at(h).istFenster || elemente_.at(h).zustand.kind != Art::CheckBox)
        SkriptFehler(line, "no check box named " + line.target);
    const std::string warum = WarumNichtErreichbar(h);
    transcript_.Tick(line.target, line.number == 1, warum);
    if (!warum.empty()) return;
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
