#pragma once
// What the fuzz targets share: a check that stops the run with the broken rule, and a
// folder of their own for the files they read and write.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/dateien.h"

// A broken invariant is a finding: libFuzzer keeps the input that broke it.
#define PRUEFE(bedingung) \
    ((bedingung) ? void() : (std::fprintf(stderr, "%s:%d: verletzt: %s\n", __FILE__, __LINE__, #bedingung), std::abort()))

namespace kaldorin::fuzz {

using test::Lies;
using test::Namen;
using test::Schreibe;

// A folder of the run's own, removed when it ends.
inline const std::string& Arbeitsordner() {
    static const test::TempOrdner ordner;
    return ordner.pfad;
}

inline std::string Text(const std::uint8_t* daten, std::size_t groesse) {
    return {reinterpret_cast<const char*>(daten), groesse};
}

}  // namespace kaldorin::fuzz
