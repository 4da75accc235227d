#include "tests/qt/umgebung.h"

#include <QDialog>
#include <QPainter>
#include <QScreen>

namespace kaldorin::test {

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

QtFaceTest::QtFaceTest(const std::string& script, FaceOptions optionen)
    : host((App(), PosixHost::Fakten{.prefix = ordner.pfad, .setupdir = ordner.pfad, .nt = {}, .cpu = {}})),
      face(optionen, host, script.empty() ? std::nullopt : std::make_optional<Script>(ParseScript(script)),
           &transcript) {}

QImage Bildschirm() {
    const QRect schirm = QGuiApplication::primaryScreen()->geometry();
    QImage bild(schirm.size(), QImage::Format_RGB32);
    bild.fill(Qt::black);
    QPainter p(&bild);
    // The background at the bottom, dialogs on top, the rest in between.
    auto rang = [](QWidget* w) { return w->objectName() == "Win_1" ? 0 : qobject_cast<QDialog*>(w) ? 2 : 1; };
    for (int unten : {0, 1, 2})
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && rang(w) == unten) p.drawPixmap(w->geometry().topLeft(), w->grab());
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
