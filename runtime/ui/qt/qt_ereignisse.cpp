// The event loop's toolkit side, and the run from start to end.
#include <QCoreApplication>
#include <QEvent>

#include "runtime/ui/qt/qt_ui.h"

namespace kaldorin::qt {

void QtUi::ProcessPending() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    // Windows closed by the program are deleted here, at a safe point.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Sleeps in the event loop until something happens.
void QtUi::WaitForUser() {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

int QtUi::Run(const std::function<void()>& programm) {
    const int code = run_.Run(programm);
    ProcessPending();
    return code;
}

}  // namespace kaldorin::qt
