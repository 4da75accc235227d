#pragma once
// What the Qt tests share: one application on the offscreen platform with a screen of
// 1280 x 1024 at 96 dpi, a scratch prefix for the host, and screenshots.

#include <QApplication>
#include <QImage>

#include <sstream>
#include <string>

#include "runtime/host/posix/posix_host.h"
#include "runtime/ui/qt/qt_ui.h"

namespace kaldorin::test {

// The application, made on first use.
QApplication& App();

// A fresh folder below the system's temporary folder, removed with the object.
struct Ordner {
    Ordner();
    ~Ordner();
    std::string pfad;
};

// A face on a host whose prefix is a fresh folder, with `script` as the user.
struct QtFaceTest {
    explicit QtFaceTest(const std::string& script = "", FaceOptions optionen = {});
    Ordner ordner;
    PosixHost host;
    std::ostringstream transcript;
    qt::QtUi face;
    QWidget* Widget(const char* name) const { return face.WidgetNamens(name); }
};

// The screen as a person sees it: every visible top-level window at its place, the
// full-screen background first and dialogs last.
QImage Bildschirm();

// Where screenshots go: <build>/screenshots/qt.
std::string Bildordner();

}  // namespace kaldorin::test
