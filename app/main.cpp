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
#include <unistd.h>

#include <climits>

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
// The Qt face, from its module beside this program (app/qt_modul.h). Exit code 1 with
// the loader's reason when the module is missing or broken.
int RunQtFaceModule(const FaceOptions& options, Host& host) {
    std::string pfad = kQtModulDatei;
    char programm[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", programm, sizeof programm - 1);
    if (n > 0) {
        const std::string datei(programm, static_cast<std::size_t>(n));
        pfad = datei.substr(0, datei.rfind('/') + 1) + kQtModulDatei;
    }
    void* modul = dlopen(pfad.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* einstieg = modul ? dlsym(modul, kQtModulEinstieg) : nullptr;
    if (einstieg == nullptr) {
        std::cerr << "kaldorin-setup: the Qt face cannot be loaded: " << dlerror() << '\n';
        return 1;
    }
    // Never unloaded: Qt keeps threads and handlers of its own until the process ends.
    return reinterpret_cast<QtModulEinstieg>(einstieg)(options, host, RunProgram);
}
#endif

std::optional<Bundle> CheckOwnMedium() { return CheckOwnBundle(OwnBundleLocator()); }

// --unattended: the road played on the headless face, which prints every dialog.
int RunUnattendedHeadless(const std::vector<std::string>& arguments) {
    return RunUnattended(
        arguments,
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
    if (!arguments.empty() && arguments[0] == "--unattended")
        return RunUnattendedHeadless({arguments.begin() + 1, arguments.end()});
    CommandLine line;
    try {
        line = ParseCommandLine(arguments);
    } catch (const CommandLineError& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n' << Usage();
        return kBadUsage;
    }
    if (line.help) {
        std::cout << Usage();
        return 0;
    }
    FaceChoice face = ChooseFace(line.face);
#if !KALDORIN_HAVE_QT
    if (face == FaceChoice::Qt) {
        std::cerr << "kaldorin-setup: this build has no Qt face\n";
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
