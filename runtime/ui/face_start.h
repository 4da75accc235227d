#pragma once
// What every face needs before its run: the script of --script and the file of
// --transcript, both checked before a window opens.

#include <fstream>
#include <optional>

#include "runtime/ui/face_options.h"
#include "runtime/ui/script.h"

namespace kaldorin {

// Reads the script of `options.script` into `script` (left empty when none is asked
// for) and opens `options.transcript` into `transcript` (left closed when none is asked
// for). Says why on standard error and returns false when either cannot be used.
bool OpenScriptAndTranscript(const FaceOptions& options, std::optional<Script>& script,
                             std::ofstream& transcript);

}  // namespace kaldorin
