#include "runtime/ui/qt/qt_face.h"

#include <QApplication>
#include <QGuiApplication>

#include <fstream>
#include <iostream>
#include <memory>

#include "runtime/ui/qt/qt_ui.h"

namespace kaldorin {

int RunQtFace(const FaceOptions& options, Host& host,
              const std::function<void(Laufzeit)>& programm) {
    std::optional<Script> script;
    if (!options.script.empty()) {
        try {
            script = Script::FromFile(options.script);
        } catch (const ScriptError& e) {
            std::cerr << "kaldorin-setup: " << e.what() << '\n';
            return 2;
        }
    }
    std::ofstream transcriptDatei;
    if (!options.transcript.empty()) {
        transcriptDatei.open(options.transcript, std::ios::binary | std::ios::trunc);
        if (!transcriptDatei) {
            std::cerr << "kaldorin-setup: cannot write the transcript " << options.transcript << '\n';
            return 2;
        }
    }

    std::unique_ptr<QApplication> app;
    if (!QApplication::instance()) {
        static int argc = 1;
        static char name[] = "kaldorin-setup";
        static char* argv[] = {name, nullptr};
        app = std::make_unique<QApplication>(argc, argv);
    }
    // The program decides when it ends, not the last window that closes.
    QGuiApplication::setQuitOnLastWindowClosed(false);

    qt::QtUi face(options, host, std::move(script),
                  options.transcript.empty() ? nullptr : &transcriptDatei);
    return face.Run([&] { programm(Laufzeit{face, host}); });
}

}  // namespace kaldorin
