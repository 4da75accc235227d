// How a run stops and ends: codes, the transcript's error and end lines, and that a
// stop cannot be swallowed.

#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>

#include "runtime/runtime.h"
#include "runtime/ui/run_control.h"

namespace kaldorin::test {
namespace {

struct Lauf : ::testing::Test {
    std::ostringstream out;
    Transcript transcript{&out};
    RunControl run{transcript};

    ScriptLine Line(int number, std::string source) {
        ScriptLine l;
        l.line = number;
        l.source = std::move(source);
        return l;
    }
};

TEST_F(Lauf, AProgramThatReturnsOrEndsGivesZeroAndOneEndLine) {
    EXPECT_EQ(run.Run([] {}), 0);
    EXPECT_EQ(out.str(), "{\"op\":\"end\",\"code\":0}\n");
    std::ostringstream out2;
    Transcript t2(&out2);
    RunControl ended(t2);
    EXPECT_EQ(ended.Run([] { EndeProgramm(); }), 0);
    EXPECT_EQ(out2.str(), "{\"op\":\"end\",\"code\":0}\n");
}

TEST_F(Lauf, AStopUnwindsTheProgramAndKeepsItsCode) {
    EXPECT_FALSE(run.Stopping());
    EXPECT_NO_THROW(run.ThrowIfStopping());
    bool after = false;
    EXPECT_EQ(run.Run([&] {
        run.StopWith(7);
        after = true;
    }),
              7);
    EXPECT_FALSE(after);
    EXPECT_EQ(run.Stopping(), 7);
    EXPECT_THROW(run.ThrowIfStopping(), RunControl::Stop);
}

TEST_F(Lauf, AStopCaughtByTheProgramStillEndsTheRunWithItsCode) {
    // A handler that swallows everything must not turn a stop into success.
    EXPECT_EQ(run.Run([&] {
        try {
            run.ScriptEnded("the program waits for the user");
        } catch (...) {
        }
        throw std::runtime_error("later fault");
    }),
              3);
    EXPECT_EQ(out.str().find("later fault"), std::string::npos);
    EXPECT_NE(out.str().find("{\"op\":\"end\",\"code\":3}"), std::string::npos);
}

TEST_F(Lauf, AScriptFaultWritesTheLineAndStopsWithTwo) {
    EXPECT_EQ(run.Run([&] { run.ScriptFault(Line(4, "click X"), "no control named X"); }), 2);
    EXPECT_EQ(out.str(),
              "{\"op\":\"error\",\"line\":4,\"script\":\"click X\",\"reason\":\"no control named X\"}\n"
              "{\"op\":\"end\",\"code\":2}\n");
}

TEST_F(Lauf, AnEscapingErrorGivesOneWithItsReason) {
    EXPECT_EQ(run.Run([] { throw Laufzeitfehler("Datei fehlt"); }), 1);
    EXPECT_NE(out.str().find("\"reason\":\"Datei fehlt\""), std::string::npos);
    std::ostringstream out2;
    Transcript t2(&out2);
    RunControl odd(t2);
    EXPECT_EQ(odd.Run([] { throw 42; }), 1);
    EXPECT_NE(out2.str().find("unknown error"), std::string::npos);
}

}  // namespace
}  // namespace kaldorin::test
