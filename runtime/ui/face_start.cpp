#include "runtime/ui/face_start.h"

#include <iostream>

namespace kaldorin {

bool OpenScriptAndTranscript(const FaceOptions& options, std::optional<Script>& script,
                             std::ofstream& transcript) {
    if (!options.script.empty()) {
        try {
            script = Script::FromFile(options.script);
        } catch (const ScriptError& e) {
            std::cerr << "kaldorin-setup: " << e.what() << '\n';
            return false;
        }
    }
    if (!options.transcript.empty()) {
        transcript.open(options.transcript, std::ios::binary | std::ios::trunc);
        if (!transcript) {
            std::cerr << "kaldorin-setup: Das Protokoll " << options.transcript << " lässt sich nicht schreiben.\n";
            return false;
        }
    }
    return true;
}

}  // namespace kaldorin
