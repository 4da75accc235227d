#pragma once
// A PosixHost over a fresh temporary prefix, removed again after each test.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <memory>
#include <string>

#include "runtime/host/posix/posix_host.h"
#include "tests/dateien.h"

namespace kaldorin::test {

class HostTest : public ::testing::Test {
protected:
    void SetUp() override { host_ = NeuerHost(); }

    std::unique_ptr<PosixHost> NeuerHost(PosixHost::Fakten fakten = {}) {
        fakten.prefix = prefix_;
        return std::make_unique<PosixHost>(fakten);
    }

    // Host path below drive C.
    std::string C(const std::string& relativ = "") const { return prefix_ + "/drive_c" + (relativ.empty() ? "" : "/" + relativ); }
    static void NurLesen(const std::string& pfad) { ASSERT_EQ(chmod(pfad.c_str(), 0444), 0); }

    TempOrdner temp_;
    std::string prefix_ = temp_.pfad;
    std::unique_ptr<PosixHost> host_;
};

}  // namespace kaldorin::test
