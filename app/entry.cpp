// The parts of start-up that do not depend on the platform.
#include "app/entry.h"

#include <fstream>
#include <iostream>

#include "runtime/ui/face_start.h"
#include "runtime/ui/headless/headless_face.h"
#include "runtime/ui/transcript.h"
#include "startup/hauptprogramm.h"

namespace kaldorin {

bool CheckCarriedMedium(const BundleCheck& check, const std::string& transcript,
                        std::optional<Bundle>& bundle, std::string* fault) {
    try {
        bundle = check();
        return true;
    } catch (const std::exception& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n';
        if (fault) *fault = e.what();
        if (!transcript.empty()) {
            std::ofstream out(transcript, std::ios::binary | std::ios::trunc);
            Transcript t(&out);
            t.Error(0, "", e.what());
            t.End(1);
        }
        return false;
    }
}

void RunProgram(Laufzeit laufzeit) {
    Programm p(laufzeit);
    laufzeit.ui.BindHandlers(Ereignistabelle(p));
    Hauptprogramm(p);
}

int RunHeadless(const FaceOptions& options, Host& host) {
    if (options.script.empty()) {
        std::cerr << "kaldorin-setup: the headless face needs --script FILE\n" << Usage();
        return kBadUsage;
    }
    std::optional<Script> script;
    std::ofstream transcript;
    if (!OpenScriptAndTranscript(options, script, transcript)) return kBadUsage;
    HeadlessFace face(options, host, std::move(*script), transcript.is_open() ? &transcript : nullptr);
    return face.Run([&] { RunProgram(Laufzeit{face, host}); });
}

std::string AsWindowsPath(Host& host, const std::string& folder) {
    return folder.starts_with('/') ? host.WindowsPath(folder) : folder;
}

int RunUnattended(const std::vector<std::string>& arguments, const HostMaker& makeHost,
                  const UnattendedFace& face, const BundleCheck& check) {
    CommandLine line;
    std::vector<std::string> rest;
    try {
        rest = TakeSystemFacts(arguments, line);
    } catch (const CommandLineError& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n';
        return kBadUsage;
    }
    std::string problem;
    auto auftrag = Unbeaufsichtigt_Lesen(rest, problem);
    if (!auftrag) {
        std::cerr << "kaldorin-setup: " << problem << '\n' << Unbeaufsichtigt_Hilfe();
        return kBadUsage;
    }
    std::optional<Bundle> bundle;
    if (!CheckCarriedMedium(check, auftrag->transkript, bundle)) return 1;
    try {
        std::unique_ptr<Host> host = makeHost(line.system, std::move(bundle));
        auftrag->quelle = AsWindowsPath(*host, auftrag->quelle);
        auftrag->ziel = AsWindowsPath(*host, auftrag->ziel);
        if (!Unbeaufsichtigt_Ziel_Pruefen(*auftrag, *host, problem)) {
            std::cerr << "kaldorin-setup: " << problem << '\n';
            return kBadUsage;
        }
        line.options.answerDialogs = true;
        // A transcript asked for and not writable is refused before anything runs,
        // rather than the run going on without it.
        std::ofstream transcript;
        if (!auftrag->transkript.empty()) {
            transcript.open(auftrag->transkript, std::ios::binary | std::ios::trunc);
            if (!transcript) {
                std::cerr << "kaldorin-setup: cannot write the transcript " << auftrag->transkript << '\n';
                return kBadUsage;
            }
        }
        std::vector<std::string> messages;
        const int code = face(line.options, *host, Script(ParseScript(Unbeaufsichtigt_Skript(*auftrag))),
                              transcript.is_open() ? &transcript : nullptr, messages);
        if (code == 1 || code == 2) return 1;
        if (auftrag->entfernen && messages.empty())
            std::cout << "Es ist keine installierte Kopie von KALDORIN-Edit verzeichnet; "
                         "nichts wurde entfernt.\n";
        return Unbeaufsichtigt_Ergebnis(*auftrag, messages);
    } catch (const std::exception& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace kaldorin
