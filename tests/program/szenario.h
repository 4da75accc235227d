#pragma once
// Runs the whole setup program on the headless face over a throw-away prefix and
// medium, so that a test reads like a user's session: a script in, the transcript,
// the face's model and the files out.

#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/host/posix/posix_host.h"
#include "runtime/ui/headless/headless_face.h"
#include "programm/programm.h"
#include "tests/dateien.h"

namespace kaldorin::test {

// Script pieces for the usual road.
// The close-applications prompt and the font-size notice, both answered "weiter".
extern const std::string kStart;
// Five pages forward and "Akzeptieren".
extern const std::string kAkzeptieren;
// From start to page 1 of the wizard.
extern const std::string kBisSeite1;
// From page 1 to the completion message: folders, options, install.
extern const std::string kInstallieren;

// One thing the user saw in a modal dialog.
struct Dialog {
    std::string op;     // "alert", "message" or "folder"
    std::string text;
    std::string title;
};

// The medium of a release and the tree it installs, as a user sees them: the name on the
// medium and the path under the installation folder. Written out on purpose rather than
// taken from the program's own lists, so that a changed name there fails the tests.
inline const std::vector<std::pair<std::string, std::string>> kInstallierterBaum = {
    {"t0e.px_", "\\KALDORIN_Edit.EXE"}, {"t4.px_", "\\t4.ovl"}, {"t7.px_", "\\t7.ovl"}, {"t8.px_", "\\t8.ovl"},
    {"t9.px_", "\\t9.ovl"}, {"tx.px_", "\\KALDORIN.XLO"}, {"tl.px_", "\\KALDORIN.PA1"}, {"to.px_", "\\KALDORIN.OCX"},
    {"te.px_", "\\T14.ovl"}, {"Setup.ex_", "\\Setup.Exe"}, {"pfiff3.wa_", "\\Sound\\pfiff3.wav"},
    {"lok.bm_", "\\Bilder\\lok.bmp"}, {"test.bw_", "\\Stellwerk\\test.bws"}, {"test.ta_", "\\Stellwerk\\test.tab"},
    {"test.po_", "\\Stellwerk\\test.pos"}, {"test.fp_", "\\Fahrplan\\test.fpw"}, {"test.fs_", "\\Fahrplan\\test.fps"},
    {"stellwrk.hl_", "\\Help\\Stellwerk.hlp"}, {"stellwrk.cn_", "\\Help\\Stellwrk.cnt"},
    {"glbein.hl_", "\\Help\\GleisbildEingabe.hlp"}, {"glbein.cn_", "\\Help\\GleisbildEingabe.cnt"},
    {"fahrplan.hl_", "\\Help\\Fahrplan.hlp"}, {"fahrplan.cn_", "\\Help\\Fahrplan.cnt"},
    {"FStrEin.hl_", "\\Help\\FahrstraßenEingabe.hlp"}, {"FStrEin.cn_", "\\Help\\FahrstraßenEingabe.cnt"},
    {"BuR.hl_", "\\Help\\Datensicherung.hlp"}, {"BuR.cn_", "\\Help\\Datensicherung.cnt"},
    {"DOS_Konv.ex_", "\\DOS_Konverter.Exe"},
};

class Szenario {
public:
    Szenario();

private:
    TempOrdner temp_;

public:
    // Host paths of the throw-away folders.
    std::string wurzel;  // holds both
    std::string prefix;
    std::string medium;  // the setup program's folder unless system["setupdir"] says else

    // System facts passed as --system KEY=VALUE; defaults make a machine that raises
    // no warning.
    std::map<std::string, std::string> system;
    // When set, the host's DeleteApplication fails in the next runs: a failure a test
    // cannot make with files alone.
    bool anwendung_bleibt = false;

    // Packs `inhalt` as the medium file `name` ("t0e.px_").
    void Packen(const std::string& name, const std::string& inhalt);
    // Fills the medium with every file of kInstallierterBaum; the content names the target.
    void Medium_Fuellen();
    // The content Medium_Fuellen gives the file installed as `ziel` ("\t4.ovl").
    static std::string Inhalt(const std::string& ziel);

    // Host path of a Windows path ("C:\Programme\KALDORIN\t4.ovl").
    std::string Host_Pfad(const std::string& windowsPfad) const;
    bool Existiert(const std::string& windowsPfad) const;
    std::string Lesen(const std::string& windowsPfad) const;
    void Schreiben(const std::string& windowsPfad, const std::string& inhalt) const;

    // Runs the program with `script` and returns the exit code.
    int Ausfuehren(const std::string& script);

    // After a run.
    Programm& p() { return *programm_; }
    HeadlessFace& ui() { return *face_; }
    PosixHost& host() { return *host_; }
    std::vector<Dialog> Dialoge() const;
    std::vector<std::string> Meldungen() const;  // texts of message boxes, in order
    std::vector<std::string> Warnungen() const;  // texts of alerts, in order
    // State of a control of the last run, by name.
    ControlState Element(const std::string& name);

private:
    std::unique_ptr<PosixHost> host_;
    std::unique_ptr<HeadlessFace> face_;
    std::unique_ptr<Programm> programm_;
    std::string transkript_;
};

}  // namespace kaldorin::test
