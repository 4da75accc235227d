#include "runtime/ui/run_control.h"

#include <exception>
#include <iostream>

#include "runtime/runtime.h"

namespace kaldorin {

void RunControl::ThrowIfStopping() const {
    if (stopping_) throw Stop{*stopping_};
}

void RunControl::StopWith(int code) {
    stopping_ = code;
    throw Stop{code};
}

void RunControl::ScriptFault(const ScriptLine& line, const std::string& reason) {
    transcript_.Error(line.line, line.source, reason);
    std::cerr << "kaldorin-setup: Skriptzeile " << line.line << " (\"" << line.source << "\") passt nicht: " << reason << '\n';
    StopWith(2);
}

void RunControl::ScriptEnded(std::string_view waiting) {
    std::cerr << "kaldorin-setup: Das Skript ist zu Ende, während " << waiting << ".\n";
    StopWith(3);
}

int RunControl::Run(const std::function<void()>& program) {
    int code = 0;
    try {
        program();
        code = stopping_.value_or(0);
    } catch (const ProgrammEnde&) {
        code = stopping_.value_or(0);
    } catch (const Stop& stop) {
        code = stop.code;
    } catch (const std::exception& e) {
        code = stopping_.value_or(1);
        if (!stopping_) {
            transcript_.Error(0, "", e.what());
            std::cerr << "kaldorin-setup: Das Programm ist mit einem Fehler abgebrochen: " << e.what() << '\n';
        }
    } catch (...) {
        code = stopping_.value_or(1);
        if (!stopping_) transcript_.Error(0, "", "unknown error");
    }
    stopping_ = code;
    transcript_.End(code);
    return code;
}

}  // namespace kaldorin
