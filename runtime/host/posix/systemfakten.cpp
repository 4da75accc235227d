#include "runtime/host/posix/systemfakten.h"

#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>

#if defined(__i386__) || defined(__x86_64__)
#include <cpuid.h>
#endif

#include "runtime/host/posix/fehler.h"

namespace kaldorin::posix {

std::uint32_t CpuSignatur() {
#if defined(__i386__) || defined(__x86_64__)
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0) return eax;
#endif
    return 0x00000600;
}

std::string ProgrammOrdner() {
    char puffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", puffer, sizeof puffer - 1);
    if (n <= 0) SystemFehler("Der Ordner des Programms lässt sich nicht bestimmen");
    std::string pfad(puffer, static_cast<std::size_t>(n));
    const std::size_t schraeg = pfad.rfind('/');
    return schraeg == 0 || schraeg == std::string::npos ? "/" : pfad.substr(0, schraeg);
}

std::string DatumAusCompiler(const char* datum) {
    static constexpr const char* kMonate = "JanFebMarAprMayJunJulAugSepOctNovDec";
    if (datum == nullptr || std::strlen(datum) != 11) return "";
    const char* stelle = std::strstr(kMonate, std::string(datum, 3).c_str());
    if (stelle == nullptr || (stelle - kMonate) % 3 != 0) return "";
    const int monat = static_cast<int>(stelle - kMonate) / 3 + 1;
    int tag = 0, jahr = 0;
    if (std::sscanf(datum + 4, "%2d %4d", &tag, &jahr) != 2 || tag < 1 || tag > 31 || jahr < 0 || jahr > 9999) return "";
    char text[40];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", jahr, monat, tag);
    return text;
}

std::string BauDatum() { return DatumAusCompiler(__DATE__); }

std::string HeutigesDatum() {
    const std::time_t jetzt = std::time(nullptr);
    std::tm ortszeit{};
    char text[16];
    if (localtime_r(&jetzt, &ortszeit) == nullptr || std::strftime(text, sizeof text, "%Y%m%d", &ortszeit) != 8)
        Fehler("Das heutige Datum lässt sich nicht bestimmen.");
    return text;
}

}  // namespace kaldorin::posix
