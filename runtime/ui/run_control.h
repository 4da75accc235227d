#pragma once
// How a face's run stops and ends, the same on every face: a stop unwinds the program
// and keeps its code, a script line that does not fit stops with 2, a script that runs
// out while the program waits stops with 3, and every run ends with one "end" line in
// the transcript.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/ui/script.h"
#include "runtime/ui/transcript.h"

namespace kaldorin {

class RunControl {
public:
    // Thrown through the program when the run stops; Run() catches it.
    struct Stop {
        int code;
    };

    // Writes errors and the end to `transcript`, which must outlive this.
    explicit RunControl(Transcript& transcript) : transcript_(transcript) {}
    // Bound to one face's transcript: a copy would write into another face's.
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;

    // Throws Stop again while the run is stopping, so that nothing the program calls
    // after a stop gets through.
    void ThrowIfStopping() const;

    // Stops the run with `code`.
    [[noreturn]] void StopWith(int code);

    // `line` does not fit what is open: an error line in the transcript, the reason on
    // standard error, and the run stops with 2.
    [[noreturn]] void ScriptFault(const ScriptLine& line, const std::string& reason);

    // The script has no line left while `waiting` ("das Programm auf den Benutzer
    // wartet", "eine Meldung auf ihre Antwort wartet"): the run stops with 3.
    [[noreturn]] void ScriptEnded(std::string_view waiting);

    // Runs `program` to its end and writes the "end" line. The code: the stop's, else
    // 0 when the program ended or returned, else 1 when an exception escaped it (that
    // one also gets an error line).
    int Run(const std::function<void()>& program);

    // The code the run stops or stopped with; nothing while it goes on.
    std::optional<int> Stopping() const { return stopping_; }

private:
    Transcript& transcript_;
    std::optional<int> stopping_;
};

}  // namespace kaldorin
