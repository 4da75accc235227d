#pragma once
// File helpers of every test folder and the fuzz targets: a fresh folder that is removed
// again with all it holds, whole-file reads and writes, the names in a folder, and a
// command run in a shell with its output in a file.

#include <stdlib.h>
#include <sys/wait.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>

namespace kaldorin::test {

namespace fs = std::filesystem;

inline std::string Lies(const fs::path& pfad) {
    std::ifstream ein(pfad, std::ios::binary);
    return {std::istreambuf_iterator<char>(ein), std::istreambuf_iterator<char>()};
}

// Replaces the file whole; the folders above it are made.
inline void Schreibe(const fs::path& pfad, std::string_view inhalt) {
    fs::create_directories(pfad.parent_path());
    std::ofstream(pfad, std::ios::binary | std::ios::trunc).write(inhalt.data(), static_cast<std::streamsize>(inhalt.size()));
}

// The names in a folder, so that a test sees a temporary file left behind.
inline std::set<std::string> Namen(const fs::path& ordner) {
    std::set<std::string> namen;
    for (const auto& e : fs::directory_iterator(ordner)) namen.insert(e.path().filename().string());
    return namen;
}

// Runs `befehl` in a shell, its output and errors into `log`; its exit code, -1 when it
// did not exit by itself.
inline int Befehl(const std::string& befehl, const fs::path& log) {
    const int status = std::system((befehl + " >'" + log.string() + "' 2>&1").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A fresh folder under $TMPDIR (else /tmp), removed with everything in it.
struct TempOrdner {
    std::string pfad = (fs::temp_directory_path() / "kaldorin-test-XXXXXX").string();

    TempOrdner() {
        if (mkdtemp(pfad.data()) == nullptr) throw std::runtime_error("mkdtemp " + pfad);
    }
    TempOrdner(const TempOrdner&) = delete;
    TempOrdner& operator=(const TempOrdner&) = delete;
    ~TempOrdner() {
        // Tests make entries read-only on purpose; give the owner back the right to clean up.
        std::error_code fehler;
        for (auto it = fs::recursive_directory_iterator(pfad, fehler); it != fs::recursive_directory_iterator();
             it.increment(fehler))
            fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, fehler);
        fs::remove_all(pfad, fehler);
    }
};

}  // namespace kaldorin::test
