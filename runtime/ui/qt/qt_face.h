#pragma once
// The entry of the Qt desktop face, free of Qt headers so that the program's main
// can choose it.

#include <functional>

#include "runtime/runtime.h"
#include "runtime/ui/face_options.h"

namespace kaldorin {

// Runs `programm` on the Qt face and returns the process exit code: 0 at the
// program's end, 1 when an error escaped it or there is no display to open, 2 for a
// faulty script, 3 when the script ran out while the program waited.
// With options.script the script's lines act on the real widgets; with
// options.transcript everything shown is written there as JSON Lines.
int RunQtFace(const FaceOptions& options, Host& host,
              const std::function<void(Laufzeit)>& programm);

}  // namespace kaldorin
