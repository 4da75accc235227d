// The event-loop step, the queue of user actions waiting for their handlers, and the
// run from start to end.
#include <QCoreApplication>
#include <QEvent>

#include <iostream>

#include "runtime/ui/qt/qt_ui.h"

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
    auto it = handler_.find(ereignis);
    if (it == handler_.end() || !it->second) return;  // no handler: the event is dropped
    ++tiefe_;
    struct Zurueck {
        int& tiefe;
        ~Zurueck() { --tiefe; }
    } zurueck{tiefe_};
    it->second();
}

void QtUi::EventStep() {
    WennEndend();
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
    HandlerAusfuehren();
}

void QtUi::WennEndend() const {
    if (endend_) throw LaufEnde{*endend_};
}

void QtUi::Beenden(int code) {
    endend_ = code;
    throw LaufEnde{code};
}

int QtUi::Run(const std::function<void()>& programm) {
    int code = 0;
    try {
        programm();
        code = endend_.value_or(0);
    } catch (const ProgrammEnde&) {
        code = endend_.value_or(0);
    } catch (const LaufEnde& ende) {
        code = ende.code;
    } catch (const std::exception& e) {
        code = endend_.value_or(1);
        if (!endend_) {
            transcript_.Error(0, "", e.what());
            std::cerr << "kaldorin-setup: the program stopped with an error: " << e.what() << '\n';
        }
    } catch (...) {
        code = endend_.value_or(1);
        if (!endend_) transcript_.Error(0, "", "unknown error");
    }
    endend_ = code;
    transcript_.End(code);
    AnstehendesBearbeiten();
    return code;
}

}  // namespace kaldorin::qt
