#include "tests/qt/umgebung.h"

#include <QDialog>
#include <QPainter>
#include <QScreen>

#include <cstdlib>
#include <filesystem>
#include <sstream>

namespace kaldorin::test {
namespace fs = std::filesystem;

QApplication& App() {
    static int argc = 1;
    static char name[] = "qt_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", QByteArray("offscreen:configfile=") + KALDORIN_QT_OFFSCREEN_CONFIG);
        auto* a = new QApplication(argc, argv);
        QGuiApplication::setQuitOnLastWindowClosed(false);
        return a;
    }();
    return *app;
}

Ordner::Ordner() {
    std::string muster = (fs::temp_directory_path() / "kaldorin-qt-XXXXXX").string();
    if (!mkdtemp(muster.data())) throw std::runtime_error("mkdtemp");
    pfad = muster;
}

Ordner::~Ordner() {
    std::error_code fehler;
    fs::remove_all(pfad, fehler);
}

namespace {
PosixHost::Fakten Fakten(const std::string& prefix) {
    PosixHost::Fakten f;
    f.prefix = prefix;
    f.setupdir = prefix;
    return f;
}

std::optional<Script> Skript(const std::string& text) {
    if (text.empty()) return std::nullopt;
    return Script(ParseScript(text));
}
}  // namespace

QtFaceTest::QtFaceTest(const std::string& script, FaceOptions optionen)
    : host((App(), Fakten(ordner.pfad))),
      face(optionen, host, Skript(script), &transcript) {}

QImage Bildschirm() {
    const QRect schirm = QGuiApplication::primaryScreen()->geometry();
    QImage bild(schirm.size(), QImage::Format_RGB32);
    bild.fill(Qt::black);
    QPainter p(&bild);
    QList<QWidget*> fenster;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) fenster.push_back(w);
    // The background at the bottom, dialogs on top, the rest in between.
    std::stable_sort(fenster.begin(), fenster.end(), [](QWidget* a, QWidget* b) {
        auto rang = [](QWidget* w) {
            if (w->objectName() == "Win_1") return 0;
            return qobject_cast<QDialog*>(w) ? 2 : 1;
        };
        return rang(a) < rang(b);
    });
    for (QWidget* w : fenster) p.drawPixmap(w->geometry().topLeft(), w->grab());
    return bild;
}

std::string Bildordner() {
    const std::string ordner = std::string(KALDORIN_BIN_DIR) + "/../screenshots/qt";
    fs::create_directories(ordner);
    return fs::weakly_canonical(ordner).string();
}

}  // namespace kaldorin::test

// Fontconfig keeps a cache for the life of the process that LeakSanitizer counts as a
// leak; it is not ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
