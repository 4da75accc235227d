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
    const std::string_view daten = Resource(resource);
    QPixmap bild;
    if (!bild.loadFromData(reinterpret_cast<const uchar*>(daten.data()),
                           static_cast<uint>(daten.size())))
        throw Laufzeitfehler("Das Bild \"" + std::string(resource) +
                             "\" kann nicht gelesen werden.");
    return bild;
}

QtUi::QtUi(const FaceOptions& options, Host& host, std::optional<Script> script,
           std::ostream* transcript)
    : FaceCore(options, host, std::move(script), transcript) {
    SchriftenErsetzen();
    TastaturAnmelden();
}

QtUi::~QtUi() {
    if (mousePointer_ != 0) QApplication::restoreOverrideCursor();
    for (auto& [handle, element] : elements_) {
        if (element.isWindow && element.widget) {
            if (element.flaeche) element.flaeche->schliessenErlaubt = true;
            delete element.widget.data();
        }
    }
}

QWidget* QtUi::Widget(Handle element) const {
    auto it = elements_.find(element);
    return it == elements_.end() || !it->second.open ? nullptr : it->second.widget.data();
}

// --- Windows -------------------------------------------------------------------

Flaeche* QtUi::FensterBauen(QWidget* eltern, const std::string& name) {
    auto* fenster = new Flaeche(eltern, Qt::Window);
    fenster->setObjectName(Q(name));
    fenster->setFont(QSchrift(kStandardschrift));
    fenster->schrift = fenster->font();
    fenster->beimSchliessen = [this, name] { Queue(name + "_Close"); };
    return fenster;
}

Handle QtUi::OpenWindow(int number, int width, int height, Handle owner) {
    run_.ThrowIfStopping();
    const std::string name = NewWindowName(number, width, height);
    Flaeche* fenster = FensterBauen(owner ? GetWindow(owner).widget.data() : nullptr, name);
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
    e.isWindow = true;
    e.flaeche = fenster;
    e.windowState.name = name;
    e.windowState.number = number;
    e.windowState.font = kStandardschrift;
    if (owner) e.windowState.owner = elements_.at(owner).windowState.name;
    const Handle h = Add(std::move(e));
    transcript_.Opened(WindowStateOf(h));
    return h;
}

void QtUi::CloseWindow(Handle window) {
    Element& e = GetWindow(window);
    QWidget* widget = e.widget;
    if (e.flaeche) e.flaeche->schliessenErlaubt = true;
    const std::string name = e.windowState.name;
    // The window, its controls and the windows it owns close together.
    for (auto& [handle, element] : elements_) {
        QWidget* w = element.widget;
        if (handle == window || element.holder == window || (w && Drinnen(widget, w))) MarkClosed(handle);
    }
    widget->hide();
    widget->deleteLater();
    transcript_.Closed(name);
}

Handle QtUi::LoadForm(std::string_view resource) {
    run_.ThrowIfStopping();
    const FormDescription form = ParseForm(Resource(resource));
    RefuseOpen(form.name, "Das Formular " + form.name + " ist schon geladen.");
    Flaeche* fenster = FensterBauen(nullptr, form.name);
    fenster->setWindowTitle(Q(form.title));
    fenster->resize(form.width, form.height);
    fenster->Leeren();
    const QRect schirm = QGuiApplication::primaryScreen()->geometry();
    fenster->move(std::max(0, (schirm.width() - form.width) / 2),
                  std::max(0, (schirm.height() - form.height) / 2));

    Element e;
    e.widget = fenster;
    e.isWindow = true;
    e.flaeche = fenster;
    e.windowState.name = form.name;
    e.windowState.title = form.title;
    e.windowState.font = kStandardschrift;
    const Handle handle = Add(std::move(e));
    transcript_.Opened(WindowStateOf(handle));

    for (const FormElement& fe : form.elements) {
        const Handle c = CreateControl(handle, fe.art, fe.name, fe.text, fe.x, fe.y,
                                       fe.width, fe.height);
        Element& control = elements_.at(c);
        control.widget->setEnabled(fe.available);
        control.controlState.font.bold = fe.bold;
        if (fe.fontSize > 0) control.controlState.font.size = fe.fontSize;
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
            QObject::connect(b, &QPushButton::clicked, b, [this, klick] { Queue(klick); });
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
            QObject::connect(c, &QCheckBox::clicked, c, [this, klick] { Queue(klick); });
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
    Element& fenster = WindowForNewControl(window, name);
    QWidget* w = ControlBauen(fenster.widget, art, std::string(name), Q(text));
    w->setObjectName(Q(name));
    w->setGeometry(x, y, std::max(width, 0), std::max(height, 0));
    if (art == Art::Frame) w->lower();
    w->show();

    Element e;
    e.widget = w;
    e.holder = window;
    e.controlState.name = std::string(name);
    e.controlState.kind = art;
    e.controlState.window = fenster.windowState.name;
    e.controlState.font = fenster.windowState.font;  // a new control takes its window's font
    e.controlState.maximum = 100;
    if (art == Art::TextArea) e.flaeche = static_cast<Flaeche*>(w);
    const Handle h = Add(std::move(e));
    SchriftAnwenden(elements_.at(h));
    return h;
}

void QtUi::SetResizable(Handle window, bool resizable) {
    Element& e = GetWindow(window);
    QWidget* w = e.widget;
    e.windowState.resizable = resizable;
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
    return options_.screenWidth.value_or(QGuiApplication::primaryScreen()->geometry().width());
}

int QtUi::ScreenHeight() {
    return options_.screenHeight.value_or(
        QGuiApplication::primaryScreen()->geometry().height());
}

int QtUi::ScreenWidthTwips() { return ScreenWidth() * options_.twips.value_or(TwipsProPixel()); }

int QtUi::ScreenHeightTwips() {
    return ScreenHeight() * options_.twips.value_or(TwipsProPixel());
}

std::int64_t QtUi::Colours() {
    if (options_.colours) return *options_.colours;
    // A 32-bit screen shows 24 bits of colour; the rest is alpha or padding.
    const int tiefe = std::clamp(QGuiApplication::primaryScreen()->depth(), 1, 24);
    return std::int64_t{1} << tiefe;
}

}  // namespace kaldorin::qt
