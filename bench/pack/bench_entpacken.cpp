// Expands every file of a medium through Datei_Entpacken into a fresh target tree
// and reports bytes, time, throughput and peak memory. Run by bench/pack/run.sh.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "install/datei_entpacken.h"
#include "doubles/fakes.h"  // the do-nothing face and the pass-through host
#include "tools/medium_liste.h"

namespace fs = std::filesystem;

namespace {

std::string HostName(std::string_view ziel) {
    std::string name(ziel);
    for (char& c : name) c = c == '\\' ? '/' : c;
    return name;
}

}  // namespace

int main(int argc, char** argv) {
    // --list: short name and installed path of every file, for the script.
    if (argc == 2 && std::string(argv[1]) == "--list") {
        for (const auto& d : kaldorin::pack::Medium()) {
            std::printf("%s\t%s\n", d.quelle.c_str(), HostName(d.ziel).c_str());
        }
        return 0;
    }
    if (argc != 3) {
        std::fprintf(stderr, "Aufruf: kaldorin-bench-entpacken MEDIUM ZIEL\n");
        return 2;
    }
    const fs::path medium = argv[1], ziel = argv[2];
    kaldorin::test::AufzeichnendeFace face;
    kaldorin::test::DurchreichHost host;
    kaldorin::Programm p{kaldorin::Laufzeit{face, host}};

    // The folders exist before the file phase, as the installation makes them first.
    for (const char* ordner : {"sound", "bilder", "stellwerk", "fahrplan", "help"}) {
        fs::create_directories(ziel / ordner);
    }
    std::uint64_t bytes = 0;
    int dateien = 0;
    const auto beginn = std::chrono::steady_clock::now();
    for (const auto& d : kaldorin::pack::Medium()) {
        const fs::path z = ziel / HostName(d.ziel);
        if (!kaldorin::Datei_Entpacken(p, (medium / d.quelle).string(), z.string())) {
            if (d.haupt || !face.meldungen.empty()) {
                std::fprintf(stderr, "%s: fehlgeschlagen\n", d.quelle.c_str());
                return 1;
            }
            continue;
        }
        bytes += fs::file_size(z);
        ++dateien;
    }
    const double sekunden =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - beginn).count();
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    std::printf("dateien=%d bytes=%llu sekunden=%.3f mbs=%.1f maxrss_kb=%ld\n", dateien,
                static_cast<unsigned long long>(bytes), sekunden,
                static_cast<double>(bytes) / 1e6 / sekunden, r.ru_maxrss);
    return 0;
}
