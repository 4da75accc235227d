// How a run stops and ends: codes, the transcript's error and end lines, and that a
// stop cannot be swallowed.

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <stdexcept>

#include "runtime/runtime.h"
#include "runtime/ui/run_control.h"

namespace kaldorin::test {
namespace {

// Runs `program` under a fresh RunControl; its code and its transcript.
std::pair<int, std::string> Lauf(const std::function<void(RunControl&)>& program) {
    std::ostringstream out;
    Transcript transcript(&out);
    RunControl run(transcript);
    const int code = run.Run([&] { program(run); });
    return {code, out.str()};
}

const std::string kEnde = "{\"op\":\"end\",\"code\":";

TEST(Lauf, CodesAndTheirLines) {
    const ScriptLine zeile = ParseScript("\n\n\nclick X").at(0);
    using P = std::pair<int, std::string>;
    EXPECT_EQ(Lauf([](RunControl&) {}), P(0, kEnde + "0}\n"));
    EXPECT_EQ(Lauf([](RunControl&) { EndeProgramm(); }), P(0, kEnde + "0}\n"));
    EXPECT_EQ(Lauf([&](RunControl& r) { r.ScriptFault(zeile, "no control named X"); }),
              P(2, "{\"op\":\"error\",\"line\":4,\"script\":\"click X\",\"reason\":\"no control named X\"}\n" + kEnde +
                       "2}\n"));
    const auto [eins, text] = Lauf([](RunControl&) { throw Laufzeitfehler("Datei fehlt"); });
    EXPECT_EQ(eins, 1);
    EXPECT_NE(text.find("\"reason\":\"Datei fehlt\""), std::string::npos);
    const auto [auch_eins, fremd] = Lauf([](RunControl&) { throw 42; });
    EXPECT_EQ(auch_eins, 1);
    EXPECT_NE(fremd.find("unknown error"), std::string::npos);
    // A stop unwinds the program and keeps its code.
    bool danach = false;
    EXPECT_EQ(Lauf([&](RunControl& r) { EXPECT_FALSE(r.Stopping()); r.StopWith(7); danach = true; }).first, 7);
    EXPECT_FALSE(danach);
}

TEST(Lauf, AStopCaughtByTheProgramStillEndsTheRunWithItsCode) {
    // A handler that swallows everything must not turn a stop into success.
    const auto [code, text] = Lauf([](RunControl& r) {
        try {
            r.ScriptEnded("das Programm auf den Benutzer wartet");
        } catch (...) {
        }
        throw std::runtime_error("later fault");
    });
    EXPECT_EQ(code, 3);
    EXPECT_EQ(text, kEnde + "3}\n") << "the end line alone: neither the later fault nor an error for the stop";
}

}  // namespace
}  // namespace kaldorin::test
