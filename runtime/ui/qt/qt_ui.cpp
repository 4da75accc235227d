#include "runtime/ui/qt/qt_ui.h"

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <algorithm>

#include "runtime/formular.h"
#include "runtime/resources.h"
#include "runtime/ui/qt/flaeche.h"
#include "runtime/ui/qt/qt_hilfen.h"

namespace kaldorin::qt {
namespace {

const FontState kStandardschrift{"MS Sans Serif", 8, false};

// Windows fonts that programs name, mapped to metric-compatible free fonts where the
// system has them, so that texts fit the controls they were laid out for.
void SchriftenErsetzen() {
    QFont::insertSubstitutions("MS Sans Serif", {"Liberation Sans", "Nimbus Sans", "Arial"});
    QFont::insertSubstitutions("Arial", {"Liberation Sans", "Nimbus Sans"});
}

// Whether `w` lies in `fenster` or in a window it owns: QWidget::isAncestorOf stops at
// the border of a window, and an owned window is one.
bool Drinnen(const QWidget* fenster, const QWidget* w) {
    for (; w; w = w->parentWidget())
        if (w == fenster) return true;
    return false;
}

}  // namespace

QFont QSchrift(const FontState& schrift) {
    QFont f(Q(schrift.name));
    f.setPointSize(schrift.size > 0 ? schrift.size : kStandardschrift.size);
    f.setBold(schrift.bold);
    return f;
}

QPixmap Bild(std::string_view resource) {
    const std::string_view daten = Ressource(resource);
    QPixmap bild;
    if (!bild.loadFromData(reinterpret_cast<const uchar*>(daten.data()),
                           static_cast<uint>(daten.size())))
        throw Laufzeitfehler("Das Bild \"" + std::string(resource) +
                             "\" kann nicht gelesen werden.");
    return bild;
}

QtUi::QtUi(const FaceOptions& options, Host& host, std::optional<Script> script,
           std::ostream* transcript)
    : optionen_(options), host_(host), skript_(std::move(script)), transcript_(transcript) {
    SchriftenErsetzen();
    TastaturAnmelden();
}

QtUi::~QtUi() {
    if (mauszeiger_ != 0) QApplication::restoreOverrideCursor();
    for (auto& [handle, element] : elemente_) {
        if (element.istFenster && element.widget) {
            if (element.flaeche) element.flaeche->schliessenErlaubt = true;
            delete element.widget.data();
        }
    }
}

Handle QtUi::Neu(Element element) {
    const Handle h = naechster_++;
    elemente_.emplace(h, std::move(element));
    return h;
}

QtUi::Element& QtUi::Holen(Handle element, const char* wozu) {
    auto it = elemente_.find(element);
    if (it == elemente_.end() || !it->second.offen || !it->second.widget)
        throw Laufzeitfehler(std::string("Das Element für \"") + wozu +
                             "\" ist nicht (mehr) offen.");
    return it->second;
}

QtUi::Element& QtUi::HolenFenster(Handle window) {
    Element& e = Holen(window, "Fenster");
    if (!e.istFenster) throw Laufzeitfehler("\"" + e.zustand.name + "\" ist kein Fenster.");
    return e;
}

QWidget* QtUi::Widget(Handle element) const {
    auto it = elemente_.find(element);
    return it == elemente_.end() || !it->second.offen ? nullptr : it->second.widget.data();
}

// Any element called `name`, an open one first; 0 when there is none.
Handle QtUi::Nachschlagen(std::string_view name) const {
    Handle geschlossen = 0;
    for (const auto& [handle, e] : elemente_) {
        const std::string& n = e.istFenster ? e.fensterZustand.name : e.zustand.name;
        if (n != name) continue;
        if (e.offen) return handle;
        geschlossen = handle;
    }
    return geschlossen;
}

QWidget* QtUi::WidgetNamens(std::string_view name) const { return Widget(Nachschlagen(name)); }

QWidget* QtUi::Hintergrundfenster() const { return WidgetNamens("Win_1"); }

// --- Windows -------------------------------------------------------------------

Handle QtUi::OpenWindow(int number, int width, int height, Handle owner) {
    lauf_.ThrowIfStopping();
    const std::string name = "Win_" + std::to_string(number);
    if (Handle offen = Nachschlagen(name); offen && elemente_.at(offen).offen)
        throw Laufzeitfehler("Das Fenster " + name + " ist schon offen.");
    if (width <= 0 || height <= 0) throw Laufzeitfehler("Ungültige Fenstergröße.");
    QWidget* eltern = owner ? HolenFenster(owner).widget.data() : nullptr;

    auto* fenster = new Flaeche(eltern, Qt::Window);
    fenster->setObjectName(Q(name));
    fenster->setFont(QSchrift(kStandardschrift));
    fenster->schrift = fenster->font();
    fenster->beimSchliessen = [this, name] { Melden(name + "_Close"); };

    const QRect schirm = QGuiApplication::primaryScreen()->geometry();
    if (number == 1 && width >= schirm.width() && height >= schirm.height()) {
        // Without a window manager full-screen alone does not place the window.
        fenster->setGeometry(schirm);
        fenster->Leeren();
        fenster->showFullScreen();
    } else {
        fenster->resize(width, height);
        fenster->Leeren();
        fenster->move(std::max(0, (schirm.width() - width) / 2),
                      std::max(0, (schirm.height() - height) / 2));
        fenster->show();
    }

    Element e;
    e.widget = fenster;
    e.istFenster = true;
    e.flaeche = fenster;
    e.fensterZustand.name = name;
    e.fensterZustand.number = number;
    e.fensterZustand.font = kStandardschrift;
    if (owner) e.fensterZustand.owner = elemente_.at(owner).fensterZustand.name;
    const Handle h = Neu(std::move(e));
    transcript_.Opened(FensterZustand(h));
    return h;
}

void QtUi::CloseWindow(Handle window) {
    Element& e = HolenFenster(window);
    QWidget* widget = e.widget;
    if (e.flaeche) e.flaeche->schliessenErlaubt = true;
    const std::string name = e.fensterZustand.name;
    // The window, its controls and the windows it owns close together.
    for (auto& [handle, element] : elemente_) {
        QWidget* w = element.widget;
        if (handle == window || element.fenster == window || (w && Drinnen(widget, w))) {
            element.offen = false;
            if (handle == ausgabe_) ausgabe_ = 0;
            if (handle == fokus_) fokus_ = 0;
        }
    }
    widget->hide();
    widget->deleteLater();
    transcript_.Closed(name);
}

Handle QtUi::LoadForm(std::string_view resource) {
    lauf_.ThrowIfStopping();
    const FormDescription form = ParseForm(Ressource(resource));
    if (Handle offen = Nachschlagen(form.name); offen && elemente_.at(offen).offen)
        throw Laufzeitfehler("Das Formular " + form.name + " ist schon geladen.");
    auto* fenster = new Flaeche(nullptr, Qt::Window);
    fenster->setObjectName(Q(form.name));
    fenster->setWindowTitle(Q(form.title));
    fenster->setFont(QSchrift(kStandardschrift));
    fenster->schrift = fenster->font();
    fenster->beimSchliessen = [this, name = form.name] { Melden(name + "_Close"); };
    fenster->resize(form.width, form.height);
    fenster->Leeren();
    const QRect schirm = QGuiApplication::primaryScreen()->geometry();
    fenster->move(std::max(0, (schirm.width() - form.width) / 2),
                  std::max(0, (schirm.height() - form.height) / 2));

    Element e;
    e.widget = fenster;
    e.istFenster = true;
    e.flaeche = fenster;
    e.fensterZustand.name = form.name;
    e.fensterZustand.title = form.title;
    e.fensterZustand.font = kStandardschrift;
    const Handle handle = Neu(std::move(e));
    transcript_.Opened(FensterZustand(handle));

    for (const FormElement& fe : form.elements) {
        const Handle c = CreateControl(handle, fe.art, fe.name, fe.text, fe.x, fe.y,
                                       fe.width, fe.height);
        Element& control = elemente_.at(c);
        control.widget->setEnabled(fe.available);
        control.zustand.font.bold = fe.bold;
        if (fe.fontSize > 0) control.zustand.font.size = fe.fontSize;
        SchriftAnwenden(control);
    }
    // The form lives on its own, yet stays above the full-screen background.
    if (QWidget* hintergrund = Hintergrundfenster()) {
        fenster->winId();
        fenster->windowHandle()->setTransientParent(hintergrund->windowHandle());
    }
    fenster->show();
    return handle;
}

Handle QtUi::FindControl(std::string_view name) {
    const Handle h = Nachschlagen(name);
    if (h == 0 || !elemente_.at(h).offen)
        throw Laufzeitfehler("Kein Element namens " + std::string(name) + ".");
    return h;
}

QWidget* QtUi::ControlBauen(QWidget* eltern, Art art, const std::string& name,
                            const QString& text) {
    const std::string klick = name + "_Click";
    switch (art) {
        case Art::Label: {
            auto* l = new QLabel(text, eltern);
            l->setTextFormat(Qt::PlainText);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            l->setWordWrap(true);
            return l;
        }
        case Art::TextBox:
            return new QLineEdit(text, eltern);
        case Art::Button: {
            auto* b = new QPushButton(text, eltern);
            b->setAutoDefault(false);
            QObject::connect(b, &QPushButton::clicked, b, [this, klick] { Melden(klick); });
            return b;
        }
        case Art::Frame: {
            auto* f = new QFrame(eltern);
            f->setFrameShape(QFrame::Box);
            f->setFrameShadow(QFrame::Sunken);
            // A frame only groups visually: it never takes clicks meant for the
            // controls it surrounds, whichever was made first.
            f->setAttribute(Qt::WA_TransparentForMouseEvents);
            return f;
        }
        case Art::CheckBox: {
            auto* c = new QCheckBox(text, eltern);
            QObject::connect(c, &QCheckBox::clicked, c, [this, klick] { Melden(klick); });
            return c;
        }
        case Art::ProgressBar: {
            auto* p = new QProgressBar(eltern);
            p->setTextVisible(false);
            p->setRange(0, 100);
            p->setValue(0);
            return p;
        }
        case Art::Picture: {
            auto* l = new QLabel(eltern);
            l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            return l;
        }
        case Art::TextArea: {
            auto* f = new Flaeche(eltern, Qt::Widget);
            f->rahmen = true;
            return f;
        }
    }
    throw Laufzeitfehler("Unbekannte Art von Steuerelement.");
}

Handle QtUi::CreateControl(Handle window, Art art, std::string_view name,
                           std::string_view text, int x, int y, int width, int height) {
    Element& fenster = HolenFenster(window);
    if (name.empty()) throw Laufzeitfehler("Ein Steuerelement braucht einen Namen.");
    if (Handle gleich = Nachschlagen(name); gleich && elemente_.at(gleich).offen)
        throw Laufzeitfehler("Es gibt schon ein Element namens " + std::string(name) + ".");
    QWidget* w = ControlBauen(fenster.widget, art, std::string(name), Q(text));
    w->setObjectName(Q(name));
    w->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
    if (art == Art::Frame) w->lower();
    w->show();

    Element e;
    e.widget = w;
    e.fenster = window;
    e.zustand.name = std::string(name);
    e.zustand.kind = art;
    e.zustand.window = fenster.fensterZustand.name;
    e.zustand.font = fenster.fensterZustand.font;  // a new control takes its window's font
    e.zustand.maximum = 100;
    if (art == Art::TextArea) e.flaeche = static_cast<Flaeche*>(w);
    const Handle h = Neu(std::move(e));
    SchriftAnwenden(elemente_.at(h));
    return h;
}

void QtUi::BindHandlers(HandlerTable table) { handler_ = std::move(table); }

void QtUi::SetResizable(Handle window, bool resizable) {
    Element& e = HolenFenster(window);
    QWidget* w = e.widget;
    e.fensterZustand.resizable = resizable;
    if (resizable) {
        w->setMinimumSize(0, 0);
        w->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else {
        w->setFixedSize(w->size());
    }
    const bool sichtbar = w->isVisible();
    w->setWindowFlag(Qt::WindowMaximizeButtonHint, resizable);
    // Changing window flags hides a window; show it again if it was shown.
    if (sichtbar) w->show();
}

// --- The display -----------------------------------------------------------------

namespace {
int TwipsProPixel() {
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    return dpi > 0 ? qRound(1440.0 / dpi) : 15;
}
}  // namespace

int QtUi::ScreenWidth() {
    return optionen_.screenWidth.value_or(QGuiApplication::primaryScreen()->geometry().width());
}

int QtUi::ScreenHeight() {
    return optionen_.screenHeight.value_or(
        QGuiApplication::primaryScreen()->geometry().height());
}

int QtUi::ScreenWidthTwips() { return ScreenWidth() * optionen_.twips.value_or(TwipsProPixel()); }

int QtUi::ScreenHeightTwips() {
    return ScreenHeight() * optionen_.twips.value_or(TwipsProPixel());
}

std::int64_t QtUi::Colours() {
    if (optionen_.colours) return *optionen_.colours;
    // A 32-bit screen shows 24 bits of colour; the rest is alpha or padding.
    const int tiefe = std::clamp(QGuiApplication::primaryScreen()->depth(), 1, 24);
    return std::int64_t{1} << tiefe;
}

}  // namespace kaldorin::qt
