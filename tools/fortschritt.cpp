#include "tools/fortschritt.h"

#ifdef _WIN32
#include <io.h>
#define isatty _isatty
#define STDERR_FILENO 2
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cstdio>

namespace kaldorin::pack {

namespace {
constexpr auto kVerzoegerung = std::chrono::milliseconds(500);
constexpr auto kTakt = std::chrono::milliseconds(100);
constexpr int kBreite = 30;
}  // namespace

Fortschritt::Fortschritt(bool erlaubt) : erlaubt_(erlaubt && isatty(STDERR_FILENO) == 1) {}

Fortschritt::~Fortschritt() { Beenden(); }

void Fortschritt::Beginnen(const std::string& was, std::uint64_t gesamt) {
    was_ = was;
    gesamt_ = gesamt;
    erledigt_ = 0;
    beginn_ = std::chrono::steady_clock::now();
}

void Fortschritt::Weiter(std::uint64_t bytes) {
    erledigt_ += bytes;
    if (!erlaubt_) return;
    const auto jetzt = std::chrono::steady_clock::now();
    if (jetzt - beginn_ < kVerzoegerung || jetzt - gezeichnet_ < kTakt) return;
    gezeichnet_ = jetzt;
    Zeichnen();
}

void Fortschritt::Zeichnen() {
    const double anteil =
        gesamt_ == 0 ? 1.0 : std::min(1.0, static_cast<double>(erledigt_) / static_cast<double>(gesamt_));
    const int voll = static_cast<int>(anteil * kBreite);
    const double sekunden =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - beginn_).count();
    const double mbs = sekunden > 0 ? static_cast<double>(erledigt_) / 1e6 / sekunden : 0.0;
    std::string balken(static_cast<std::size_t>(voll), '#');
    balken.resize(kBreite, ' ');
    std::fprintf(stderr, "\r%-28.28s [%s] %3d %% %7.1f MB/s", was_.c_str(), balken.c_str(),
                 static_cast<int>(anteil * 100), mbs);
    std::fflush(stderr);
    sichtbar_ = true;
}

void Fortschritt::Beenden() {
    if (!sichtbar_) return;
    std::fprintf(stderr, "\r%*s\r", 28 + kBreite + 20, "");
    std::fflush(stderr);
    sichtbar_ = false;
}

}  // namespace kaldorin::pack
