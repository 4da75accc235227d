#pragma once
// The Qt face lives in a module of its own (kaldorin-setup-qt.so beside the program),
// which kaldorin-setup loads only when it opens windows: unattended and scripted runs
// then neither load the Qt libraries nor need them installed, and start in a fraction
// of the time.

#include <functional>

#include "runtime/runtime.h"
#include "runtime/ui/face_options.h"

namespace kaldorin {

// The module's file name, looked for in the program's own folder.
inline constexpr const char* kQtModulDatei = "kaldorin-setup-qt.so";
// The one symbol the module exports: RunQtFace (runtime/ui/qt/qt_face.h) under C linkage.
inline constexpr const char* kQtModulEinstieg = "kaldorin_run_qt_face";
using QtModulEinstieg = int (*)(const FaceOptions& options, Host& host,
                                const std::function<void(Laufzeit)>& programm);

}  // namespace kaldorin
