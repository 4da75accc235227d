#include "runtime/ui/qt/qt_face.h"

#include <QApplication>
#include <QGuiApplication>

#include <cstdlib>
#include <fstream>
#include <iostream>
#include <memory>

#include "runtime/ui/face_start.h"
#include "runtime/ui/qt/qt_ui.h"

namespace kaldorin {
namespace {

bool AnzeigeDa() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* wert = std::getenv(name);
        if (wert && *wert) return true;
    }
    return false;
}

}  // namespace

int RunQtFace(const FaceOptions& options, Host& host,
              const std::function<void(Laufzeit)>& programm) {
    std::optional<Script> script;
    std::ofstream transcriptDatei;
    if (!OpenScriptAndTranscript(options, script, transcriptDatei)) return 2;

    std::unique_ptr<QApplication> app;
    if (!QApplication::instance() && !AnzeigeDa()) {
        // Qt would abort the process; say plainly what is missing instead.
        std::cerr << "kaldorin-setup: Für die Qt-Oberfläche fehlt eine Anzeige (DISPLAY, WAYLAND_DISPLAY "
                     "oder QT_QPA_PLATFORM); ohne Anzeige geht es mit --headless und einem Skript.\n";
        return 1;
    }
    if (!QApplication::instance()) {
        static int argc = 1;
        static char name[] = "kaldorin-setup";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    // The program decides when it ends, not the last window that closes.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    qt::QtUi face(options, host, std::move(script),
                  transcriptDatei.is_open() ? &transcriptDatei : nullptr);
    return face.Run([&] { programm(Laufzeit{face, host}); });
}

}  // namespace kaldorin
