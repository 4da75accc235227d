#pragma once
// What the fuzz targets share: a check that stops the run with the broken rule, and a
// folder of their own for the files they read and write.

#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

// A broken invariant is a finding: libFuzzer keeps the input that broke it.
#define PRUEFE(bedingung) \
    ((bedingung) ? void() : (std::fprintf(stderr, "%s:%d: verletzt: %s\n", __FILE__, __LINE__, #bedingung), std::abort()))

namespace kaldorin::fuzz {

// A fresh folder under $TMPDIR (else /tmp), removed when the run ends.
inline const std::string& Arbeitsordner() {
    static const std::string ordner = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string vorlage = std::string(tmp && *tmp ? tmp : "/tmp") + "/kaldorin-fuzz-XXXXXX";
        if (mkdtemp(vorlage.data()) == nullptr) std::abort();
        return vorlage;
    }();
    // Made after the name, so gone before it.
    static const struct Weg { ~Weg() { std::error_code egal; std::filesystem::remove_all(ordner, egal); } } weg;
    return ordner;
}

inline std::string Lies(const std::string& pfad) {
    std::ifstream ein(pfad, std::ios::binary);
    return {std::istreambuf_iterator<char>(ein), std::istreambuf_iterator<char>()};
}

inline void Schreibe(const std::string& pfad, const std::string& inhalt) {
    std::ofstream(pfad, std::ios::binary | std::ios::trunc) << inhalt;
}

// The names in a folder, so that a test can see a temporary file left behind.
inline std::set<std::string> Namen(const std::string& ordner) {
    std::set<std::string> namen;
    for (const auto& e : std::filesystem::directory_iterator(ordner)) namen.insert(e.path().filename());
    return namen;
}

inline std::string Text(const std::uint8_t* daten, std::size_t groesse) {
    return {reinterpret_cast<const char*>(daten), groesse};
}

}  // namespace kaldorin::fuzz
