// The exported entry of the Qt face module (see app/qt_modul.h).
#include "app/qt_modul.h"

#include "runtime/ui/qt/qt_face.h"

extern "C" __attribute__((visibility("default"))) int kaldorin_run_qt_face(
    const kaldorin::FaceOptions& options, kaldorin::Host& host,
    const std::function<void(kaldorin::Laufzeit)>& programm) {
    return kaldorin::RunQtFace(options, host, programm);
}

// Both sides agree on the entry's type.
static_assert(std::is_same_v<decltype(&kaldorin_run_qt_face), kaldorin::QtModulEinstieg>);
