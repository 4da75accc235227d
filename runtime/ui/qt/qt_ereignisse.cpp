// The event-loop step, the queue of user actions waiting for their handlers, and the
// run from start to end.
#include <QCoreApplication>
#include <QEvent>

#include "runtime/ui/qt/qt_ui.h"
#include "runtime/ui/script_player.h"

namespace kaldorin::qt {

void QtUi::Melden(std::string ereignis) { ereignisse_.push_back(std::move(ereignis)); }

void QtUi::AnstehendesBearbeiten() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Windows closed by the program are deleted here, at a safe point.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void QtUi::HandlerAusfuehren() {
    const std::string ereignis = std::move(ereignisse_.front());
    ereignisse_.pop_front();
    CallHandler(handler_, ereignis, tiefe_);
}

void QtUi::EventStep() {
    lauf_.ThrowIfStopping();
    // The handler before has returned: the focus goes where it belongs before any key
    // that waits is handled.
    if (tiefe_ == 0) FokusPruefen();
    AnstehendesBearbeiten();
    if (tiefe_ > 0) {
        // Inside a handler: what is pending, and never a wait.
        if (!ereignisse_.empty()) HandlerAusfuehren();
        return;
    }
    // At top level: sleep in the event loop until a user action asks for a handler.
    while (ereignisse_.empty()) {
        if (beimWarten_) beimWarten_();
        if (skript_) {
            NaechsteAktion();
            AnstehendesBearbeiten();
        } else {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
    }
    tastatur_.Bekommen(Tastenfokus());
    HandlerAusfuehren();
}

int QtUi::Run(const std::function<void()>& programm) {
    const int code = lauf_.Run(programm);
    AnstehendesBearbeiten();
    return code;
}

}  // namespace kaldorin::qt
