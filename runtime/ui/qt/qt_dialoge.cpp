// The modal dialogs: the alert with labelled buttons, the message box and the folder
// chooser. With a script, each takes its answer from the next script line, which
// presses the dialog's own button.
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "runtime/ui/qt/qt_hilfen.h"
#include "runtime/ui/qt/qt_maus.h"
#include "runtime/ui/qt/qt_ui.h"
#include "runtime/ui/script_player.h"

namespace kaldorin::qt {
namespace {

// An alert is answered only by one of its buttons: Escape and the window frame do
// not close it, so no answer is ever made up.
class Warnung : public QDialog {
public:
    using QDialog::QDialog;
    void reject() override {}
};

QStyle::StandardPixmap AlertSymbol(int style) {
    if (style == 19) return QStyle::SP_MessageBoxWarning;
    switch (style & 0x70) {
        case 16: return QStyle::SP_MessageBoxCritical;
        case 32: return QStyle::SP_MessageBoxQuestion;
        case 48: return QStyle::SP_MessageBoxWarning;
        case 64: return QStyle::SP_MessageBoxInformation;
        default: return QStyle::SP_CustomBase;
    }
}

QMessageBox::Icon MeldungSymbol(int style) {
    switch (style & 0x70) {
        case 16: return QMessageBox::Critical;
        case 32: return QMessageBox::Question;
        case 48: return QMessageBox::Warning;
        case 64: return QMessageBox::Information;
        default: return QMessageBox::NoIcon;
    }
}

// CR LF, CR and LF each break the line once.
QString Zeilen(std::string_view text) {
    QString t = Q(text);
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return t;
}

// Centres a dialog over the window that owns it (or the screen) before it shows; not
// every platform does this by itself.
void Zentrieren(QDialog& dialog) {
    dialog.adjustSize();
    const QWidget* besitzer = dialog.parentWidget() ? dialog.parentWidget()->window() : nullptr;
    const QRect ueber = besitzer ? besitzer->frameGeometry()
                                 : QGuiApplication::primaryScreen()->availableGeometry();
    QRect ort(QPoint(), dialog.size());
    ort.moveCenter(ueber.center());
    dialog.move(ort.topLeft());
}

}  // namespace

QWidget* QtUi::Dialogbesitzer() const {
    if (QWidget* aktiv = QApplication::activeWindow()) return aktiv;
    for (auto it = elements_.rbegin(); it != elements_.rend(); ++it) {
        const Element& e = it->second;
        if (e.isWindow && e.open && e.widget && e.widget->isVisible()) return e.widget;
    }
    return nullptr;
}

void QtUi::Druecken(QDialog& dialog, int knopf) {
    // Pressed once the dialog waits in its own event loop, like a person would.
    QTimer::singleShot(0, &dialog, [&dialog, knopf] {
        for (auto* b : dialog.findChildren<QAbstractButton*>()) {
            if (b->property("antwort").toInt() == knopf) {
                MausKlick(b);
                break;
            }
        }
        // Never leave a scripted run waiting on a dialog the click did not close.
        if (dialog.isVisible()) dialog.done(knopf);
    });
}

int QtUi::Alert(int style, std::string_view text, int defaultButton, std::string_view labels) {
    run_.ThrowIfStopping();
    Warnung dialog(Dialogbesitzer());
    dialog.setWindowFlag(Qt::WindowCloseButtonHint, false);
    dialog.setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog.setWindowModality(Qt::ApplicationModal);
    auto* spalte = new QVBoxLayout(&dialog);
    auto* zeile = new QHBoxLayout;
    spalte->addLayout(zeile);
    if (const auto symbol = AlertSymbol(style); symbol != QStyle::SP_CustomBase) {
        auto* bild = new QLabel(&dialog);
        bild->setPixmap(dialog.style()->standardIcon(symbol).pixmap(32, 32));
        bild->setAlignment(Qt::AlignTop);
        zeile->addWidget(bild);
        zeile->addSpacing(12);
    }
    // "|" breaks the line, so "||" leaves an empty one.
    auto* inhalt = new QLabel(Q(text).replace(QLatin1Char('|'), QLatin1Char('\n')), &dialog);
    inhalt->setTextFormat(Qt::PlainText);
    zeile->addWidget(inhalt, 1);

    auto* knoepfe = new QHBoxLayout;
    knoepfe->addStretch();
    const std::vector<std::string> beschriftungen = SplitButtons(labels);
    const int anzahl = static_cast<int>(beschriftungen.size());
    for (int i = 0; i < anzahl; ++i) {
        // Labels keep their blanks: they are the button texts as the program gave them.
        auto* knopf = new QPushButton(Q(beschriftungen[i]), &dialog);
        knopf->setObjectName(QStringLiteral("antwort_%1").arg(i + 1));
        knopf->setProperty("antwort", i + 1);
        // Enter presses the focused button, as Space does; at first that is the default.
        knopf->setAutoDefault(true);
        if (i + 1 == defaultButton) {
            knopf->setDefault(true);
            knopf->setFocus();
        }
        QObject::connect(knopf, &QPushButton::clicked, &dialog, [&dialog, i] { dialog.done(i + 1); });
        knoepfe->addWidget(knopf);
    }
    knoepfe->addStretch();
    spalte->addSpacing(8);
    spalte->addLayout(knoepfe);

    if (script_) {
        const int knopf =
            AnswerAlert(run_, transcript_, TakeAnswer(), style, text, defaultButton, labels, anzahl);
        Druecken(dialog, knopf);
        Zentrieren(dialog);
        return dialog.exec();
    }
    Zentrieren(dialog);
    const int antwort = dialog.exec();
    transcript_.Alert(style, text, defaultButton, labels, antwort);
    return antwort;
}

void QtUi::Message(std::string_view text, std::string_view title, int style) {
    run_.ThrowIfStopping();
    messages_.emplace_back(text);
    QMessageBox box(MeldungSymbol(style), Q(title), Zeilen(text), QMessageBox::Ok, Dialogbesitzer());
    box.setTextFormat(Qt::PlainText);
    box.setWindowModality(Qt::ApplicationModal);
    if (QAbstractButton* ok = box.button(QMessageBox::Ok)) ok->setProperty("antwort", 1);
    if (script_) {
        AnswerMessage(run_, transcript_, TakeAnswer(), title, text, style);
        Druecken(box, 1);
        Zentrieren(box);
        box.exec();
        return;
    }
    Zentrieren(box);
    box.exec();
    transcript_.Message(title, text, style, 1);
}

std::string QtUi::BrowseForFolder(Handle owner, int, std::string_view title, std::string_view start) {
    run_.ThrowIfStopping();
    QWidget* besitzer = owner ? Get(owner, "Ordnerauswahl").widget.data() : Dialogbesitzer();
    QFileDialog dialog(besitzer, Q(title));
    // Qt's own dialog everywhere, so that a script can answer it like a person.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setWindowModality(Qt::ApplicationModal);

    const std::string anfang = FolderDialogStart(host_, start);
    if (!anfang.empty()) {
        const QString ordner = QDir(Q(host_.HostPath(anfang))).absolutePath();
        dialog.setDirectory(ordner);
        dialog.selectFile(ordner);
    }

    if (script_) {
        const std::optional<std::string> antwort =
            AnswerFolder(run_, transcript_, host_, TakeAnswer(), title, start);
        if (!antwort) {
            QTimer::singleShot(0, &dialog, [&dialog] { static_cast<QDialog&>(dialog).reject(); });
            dialog.exec();
            return "";
        }
        // Walk the dialog to the folder when it exists here; the answer is the
        // script's path either way, so every face reports the same folder.
        QString hostpfad;
        try {
            hostpfad = Q(host_.HostPath(antwort->substr(0, antwort->size() - 1)));
        } catch (const Laufzeitfehler&) {
        }
        QTimer::singleShot(0, &dialog, [&dialog, hostpfad] {
            QDialog& d = dialog;  // accept() and done() are public on QDialog
            if (!hostpfad.isEmpty() && QDir(hostpfad).exists()) {
                dialog.selectFile(hostpfad);
                d.accept();
            }
            if (d.isVisible()) d.done(QDialog::Accepted);
        });
        dialog.exec();
        return *antwort;
    }

    std::string ergebnis;
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        const QString gewaehlt = dialog.selectedFiles().front();
        if (!gewaehlt.isEmpty()) {
            ergebnis = host_.WindowsPath(U(QDir::cleanPath(gewaehlt)));
            if (ergebnis.empty() || ergebnis.back() != '\\') ergebnis += '\\';
        }
    }
    if (ergebnis.empty()) transcript_.Folder(title, start, anfang, std::nullopt, true);
    else transcript_.Folder(title, start, anfang, ergebnis, false);
    return ergebnis;
}

}  // namespace kaldorin::qt
