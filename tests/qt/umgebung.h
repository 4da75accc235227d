#pragma once
// What the Qt tests share: one application on the offscreen platform with a screen of
// 1280 x 1024 at 96 dpi, a scratch prefix for the host, and screenshots.

#include <QApplication>
#include <QDialog>
#include <QImage>

#include <functional>

#include <sstream>
#include <string>

#include "runtime/host/posix/posix_host.h"
#include "runtime/ui/qt/qt_ui.h"
#include "tests/dateien.h"

namespace kaldorin::test {

// The application, made on first use.
QApplication& App();

// A fresh folder below the system's temporary folder, removed with the object.
using Ordner = TempOrdner;

// A face on a host whose prefix is a fresh folder, with `script` as the user.
struct QtFaceTest {
    explicit QtFaceTest(const std::string& script = "", FaceOptions optionen = {});
    Ordner ordner;
    PosixHost host;
    std::ostringstream transcript;
    qt::QtUi face;
    QWidget* Widget(const char* name) const { return face.WidgetNamens(name); }
};

// Calls `bei` with every dialog the moment it is shown, before it is answered.
class DialogBeobachter : public QObject {
public:
    explicit DialogBeobachter(std::function<void(QDialog&)> bei) : bei_(std::move(bei)) {
        App().installEventFilter(this);
    }
    ~DialogBeobachter() override { App().removeEventFilter(this); }
    bool eventFilter(QObject* objekt, QEvent* ereignis) override {
        if (auto* d = qobject_cast<QDialog*>(objekt); d && ereignis->type() == QEvent::Show) bei_(*d);
        return false;
    }

private:
    std::function<void(QDialog&)> bei_;
};

// The screen as a person sees it: every visible top-level window at its place, the
// full-screen background first and dialogs last.
QImage Bildschirm();

// Where screenshots go: <build>/screenshots/qt.
std::string Bildordner();

}  // namespace kaldorin::test
