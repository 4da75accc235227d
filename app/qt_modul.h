#pragma once
// The Qt face lives in a module of its own, which kaldorin-setup loads only when it
// opens windows: unattended and scripted runs then neither load the Qt libraries nor
// need them installed, and start in a fraction of the time. The program carries the
// module inside itself (app/qt_modul_daten.cpp) and loads it from memory, so that the
// program alone, copied onto a medium or downloaded, opens its windows, and nothing is
// ever loaded from the folder it was started from.

#include <functional>

#include "runtime/runtime.h"
#include "runtime/ui/face_options.h"

namespace kaldorin {

// The carried module's bytes, from kaldorin_qt_modul_anfang up to kaldorin_qt_modul_ende.
extern "C" const unsigned char kaldorin_qt_modul_anfang[];
extern "C" const unsigned char kaldorin_qt_modul_ende[];
// The one symbol the module exports: RunQtFace (runtime/ui/qt/qt_face.h) under C linkage.
inline constexpr const char* kQtModulEinstieg = "kaldorin_run_qt_face";
using QtModulEinstieg = int (*)(const FaceOptions& options, Host& host,
                                const std::function<void(Laufzeit)>& programm);

}  // namespace kaldorin
