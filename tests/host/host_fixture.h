#pragma once
// A PosixHost over a fresh temporary prefix, removed again after each test.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "runtime/host/posix/posix_host.h"

namespace kaldorin::test {

namespace fs = std::filesystem;

class HostTest : public ::testing::Test {
protected:
    void SetUp() override {
        char vorlage[] = "/tmp/kaldorin-host-XXXXXX";
        ASSERT_NE(mkdtemp(vorlage), nullptr);
        prefix_ = vorlage;
        host_ = NeuerHost();
    }

    void TearDown() override {
        host_.reset();
        // Read-only entries made by a test must not stop the clean-up.
        std::error_code fehler;
        for (auto it = fs::recursive_directory_iterator(prefix_, fehler); it != decltype(it)(); it.increment(fehler))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, fehler);
        fs::remove_all(prefix_, fehler);
    }

    std::unique_ptr<PosixHost> NeuerHost(PosixHost::Fakten fakten = {}) {
        fakten.prefix = prefix_;
        return std::make_unique<PosixHost>(fakten);
    }

    // Host path below drive C.
    std::string C(const std::string& relativ = "") const { return prefix_ + "/drive_c" + (relativ.empty() ? "" : "/" + relativ); }
    static void Schreibe(const std::string& pfad, const std::string& inhalt) {
        fs::create_directories(fs::path(pfad).parent_path());
        std::ofstream(pfad, std::ios::binary) << inhalt;
    }
    static std::string Lies(const std::string& pfad) {
        std::ifstream ein(pfad, std::ios::binary);
        return {std::istreambuf_iterator<char>(ein), {}};
    }

    static void NurLesen(const std::string& pfad) { ASSERT_EQ(chmod(pfad.c_str(), 0444), 0); }

    std::string prefix_;
    std::unique_ptr<PosixHost> host_;
};

}  // namespace kaldorin::test
