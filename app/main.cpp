// The setup program's entry: reads the command line, picks the face, builds the host
// and runs the program.
#include <cstdlib>
#include <iostream>
#include <memory>

#include "app/bundle_locator.h"
#include "app/command_line.h"
#include "app/entry.h"
#include "runtime/host/posix/posix_host.h"
#include "runtime/ui/headless/headless_face.h"

#if KALDORIN_HAVE_QT
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "app/qt_modul.h"
#endif

namespace kaldorin {
namespace {

bool DisplayAvailable() {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value && *value) return true;
    }
    return false;
}

FaceChoice ChooseFace(FaceChoice asked) {
    if (asked != FaceChoice::Automatic) return asked;
#if KALDORIN_HAVE_QT
    if (DisplayAvailable()) return FaceChoice::Qt;
#else
    (void)DisplayAvailable;
#endif
    return FaceChoice::Headless;
}

#if KALDORIN_HAVE_QT
// Loads the module the program carries, through an anonymous in-memory file; nullptr
// with the reason in `fehler`.
void* QtModulLaden(std::string& fehler) {
    const int fd = memfd_create("kaldorin-setup-qt", MFD_CLOEXEC | MFD_ALLOW_SEALING);
    if (fd < 0) {
        fehler = std::string("memfd_create: ") + std::strerror(errno);
        return nullptr;
    }
    const unsigned char* bytes = kaldorin_qt_modul_anfang;
    while (bytes < kaldorin_qt_modul_ende) {
        const ssize_t n = write(fd, bytes, static_cast<std::size_t>(kaldorin_qt_modul_ende - bytes));
        if (n <= 0 && errno != EINTR) {
            fehler = std::string("write: ") + std::strerror(errno);
            close(fd);
            return nullptr;
        }
        if (n > 0) bytes += n;
    }
    // Sealed: the code mapped from it cannot change under the program.
    fcntl(fd, F_ADD_SEALS, F_SEAL_SHRINK | F_SEAL_GROW | F_SEAL_WRITE | F_SEAL_SEAL);
    void* modul = dlopen(("/proc/self/fd/" + std::to_string(fd)).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (modul == nullptr) fehler = dlerror();
    close(fd);  // the mappings stay
    return modul;
}

// The Qt face, from the module the program carries (app/qt_modul.h). Exit code 1 with
// the loader's reason when it cannot be loaded (no Qt libraries on the machine, say).
int RunQtFaceModule(const FaceOptions& options, Host& host) {
    std::string fehler;
    void* modul = QtModulLaden(fehler);
    void* einstieg = modul ? dlsym(modul, kQtModulEinstieg) : nullptr;
    if (einstieg == nullptr) {
        std::cerr << "kaldorin-setup: Die Qt-Oberfläche lässt sich nicht laden: " << (modul ? dlerror() : fehler.c_str())
                  << '\n';
        return 1;
    }
    // Never unloaded: Qt keeps threads and handlers of its own until the process ends.
    return reinterpret_cast<QtModulEinstieg>(einstieg)(options, host, RunProgram);
}
#endif

std::optional<Bundle> CheckOwnMedium() { return CheckOwnBundle(OwnBundleLocator()); }

// --unattended: the road played on the headless face, which prints every dialog.
int RunUnattendedHeadless(const CommandLine& line) {
    return RunUnattended(
        line,
        [](const SystemFacts& facts, std::optional<Bundle> bundle) {
            auto host = std::make_unique<PosixHost>(facts);
            if (bundle) host->CarryBundle(std::move(*bundle));
            return host;
        },
        [](const FaceOptions& options, Host& host, Script script, std::ostream* transcript,
           std::vector<std::string>& messages) {
            HeadlessFace face(options, host, std::move(script), transcript);
            const int code = face.Run([&] { RunProgram(Laufzeit{face, host}); });
            messages = face.Messages();
            return code;
        },
        CheckOwnMedium);
}

int Main(const std::vector<std::string>& arguments) {
    CommandLine line;
    if (const std::optional<int> ende = ReadCommandLine(arguments, Plattform::Posix, line)) return *ende;
    if (line.unattended) return RunUnattendedHeadless(line);
    FaceChoice face = ChooseFace(line.face);
#if !KALDORIN_HAVE_QT
    if (face == FaceChoice::Qt) {
        std::cerr << "kaldorin-setup: Diese Ausgabe hat keine Qt-Oberfläche.\n";
        return kBadUsage;
    }
#endif
    std::optional<Bundle> bundle;
    if (!CheckCarriedMedium(CheckOwnMedium, line.options.transcript, bundle)) return 1;
    try {
        PosixHost host(line.system);
        if (bundle) host.CarryBundle(std::move(*bundle));
#if KALDORIN_HAVE_QT
        // The Qt face: it runs the program itself, on its own event loop.
        if (face == FaceChoice::Qt) return RunQtFaceModule(line.options, host);
#endif
        return RunHeadless(line.options, host);
    } catch (const std::exception& e) {
        // The host could not start (prefix not usable, ...): nothing ran yet.
        std::cerr << "kaldorin-setup: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace
}  // namespace kaldorin

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    return kaldorin::Main(arguments);
}
