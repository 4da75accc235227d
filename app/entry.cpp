// The parts of start-up that do not depend on the platform.
#include "app/entry.h"

#include <fstream>
#include <iostream>

#include "runtime/ui/face_start.h"
#include "runtime/ui/headless/headless_face.h"
#include "runtime/ui/transcript.h"
#include "startup/hauptprogramm.h"

namespace kaldorin {

std::optional<int> ReadCommandLine(const std::vector<std::string>& arguments, Plattform plattform,
                                   CommandLine& line) {
    try {
        line = ParseCommandLine(arguments, plattform);
    } catch (const CommandLineError& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n' << kSieheHilfe;
        return kBadUsage;
    }
    if (!line.help) return std::nullopt;
    std::cout << Usage(plattform);
    return 0;
}

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
        std::cerr << "kaldorin-setup: Die Oberfläche headless braucht --script DATEI.\n" << kSieheHilfe;
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

int RunUnattended(CommandLine line, const HostMaker& makeHost, const UnattendedFace& face,
                  const BundleCheck& check) {
    Unbeaufsichtigt& auftrag = line.auftrag;
    std::string problem;
    if (!Unbeaufsichtigt_Pruefen(auftrag, problem)) {
        std::cerr << "kaldorin-setup: " << problem << '\n' << kSieheHilfe;
        return kBadUsage;
    }
    std::optional<Bundle> bundle;
    if (!CheckCarriedMedium(check, line.options.transcript, bundle)) return 1;
    try {
        std::unique_ptr<Host> host = makeHost(line.system, std::move(bundle));
        auftrag.quelle = AsWindowsPath(*host, auftrag.quelle);
        auftrag.ziel = AsWindowsPath(*host, auftrag.ziel);
        if (!Unbeaufsichtigt_Ziel_Pruefen(auftrag, *host, problem)) {
            std::cerr << "kaldorin-setup: " << problem << '\n';
            return kBadUsage;
        }
        line.options.answerDialogs = true;
        // A transcript asked for and not writable is refused before anything runs,
        // rather than the run going on without it. It is written here, not by the face.
        std::ofstream transcript;
        if (!line.options.transcript.empty()) {
            transcript.open(line.options.transcript, std::ios::binary | std::ios::trunc);
            if (!transcript) {
                std::cerr << "kaldorin-setup: Das Protokoll " << line.options.transcript
                          << " lässt sich nicht schreiben.\n";
                return kBadUsage;
            }
            line.options.transcript.clear();
        }
        std::vector<std::string> messages;
        const int code = face(line.options, *host, Script(ParseScript(Unbeaufsichtigt_Skript(auftrag))),
                              transcript.is_open() ? &transcript : nullptr, messages);
        if (code == 1 || code == 2) return 1;
        if (auftrag.entfernen && messages.empty())
            std::cout << "Es ist keine installierte Kopie von KALDORIN-Edit verzeichnet; "
                         "nichts wurde entfernt.\n";
        return Unbeaufsichtigt_Ergebnis(auftrag, messages);
    } catch (const std::exception& e) {
        std::cerr << "kaldorin-setup: " << e.what() << '\n';
        return 1;
    }
}

}  // namespace kaldorin
