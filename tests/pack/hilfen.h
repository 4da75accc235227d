#pragma once
// Shared helpers of the packing tests: a fresh folder per test, whole-file reads
// and writes as bytes, packed streams made with libzstd directly, and kaldorin-pack
// and the setup program run from a shell.

#include <gtest/gtest.h>
#include <zstd.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "tests/dateien.h"

namespace kaldorin::test {

using Bytes = std::vector<std::uint8_t>;

inline Bytes Lesen(const fs::path& p) {
    const std::string s = Lies(p);
    return Bytes(s.begin(), s.end());
}

inline void Schreiben(const fs::path& p, const Bytes& b) {
    Schreibe(p, std::string_view(reinterpret_cast<const char*>(b.data()), b.size()));
}

inline Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

// Varied content that packs, but not to nothing.
inline Bytes Inhalt(std::size_t n, std::uint32_t saat = 1) {
    std::minstd_rand zufall(saat);
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<std::uint8_t>(i % 64 < 40 ? "Stellwerk Fahrplan Lok "[i % 23] : zufall());
    return b;
}

// One zstd frame of `inhalt`; without `groesse` its header holds no content size, as
// when the command line packs from a pipe.
inline Bytes Packen(const Bytes& inhalt, bool pruefsumme = true, int stufe = 3, bool groesse = true) {
    ZSTD_CCtx* c = ZSTD_createCCtx();
    ZSTD_CCtx_setParameter(c, ZSTD_c_compressionLevel, stufe);
    ZSTD_CCtx_setParameter(c, ZSTD_c_checksumFlag, pruefsumme ? 1 : 0);
    ZSTD_CCtx_setParameter(c, ZSTD_c_contentSizeFlag, groesse ? 1 : 0);
    Bytes out(ZSTD_compressBound(inhalt.size()));
    const std::size_t n = ZSTD_compress2(c, out.data(), out.size(), inhalt.data(), inhalt.size());
    ZSTD_freeCCtx(c);
    EXPECT_FALSE(ZSTD_isError(n));
    out.resize(n);
    return out;
}

inline Bytes Verbinden(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// The medium layout: a filler byte after the fifth byte of the stream and one at the end.
inline Bytes Medium(const Bytes& strom) {
    Bytes b(strom.begin(), strom.begin() + std::min<std::size_t>(5, strom.size()));
    b.push_back(0xA5);
    if (strom.size() > 5) b.insert(b.end(), strom.begin() + 5, strom.end());
    b.push_back(0x00);
    return b;
}

// A fresh, empty folder per test, removed afterwards.
class MitOrdner : public ::testing::Test {
protected:
    TempOrdner temp;
    fs::path ordner = temp.pfad;
};

// A fresh folder, and commands run in a shell.
class MitBefehlen : public MitOrdner {
protected:
    // Runs `befehl` in a shell; returns its exit code, its output in `ausgabe`.
    int Lauf(const std::string& befehl) {
        const fs::path log = ordner / "ausgabe.log";
        const int code = Befehl(befehl, log);
        ausgabe = Lies(log);
        fs::remove(log);
        return code;
    }
    int Pack(const std::string& argumente) { return Lauf(std::string(KALDORIN_BIN_DIR) + "/kaldorin-pack " + argumente); }
    // Built by appending: GCC 12 at -O3 warns falsely (-Wrestrict) about "'" + std::string.
    std::string Q(const fs::path& p) { return std::string("'").append(p.string()).append("'"); }
    std::string ausgabe;
};

}  // namespace kaldorin::test
