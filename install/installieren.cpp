#include "install/installation.h"

namespace kaldorin {

namespace {

// Runs one step whose failure is ignored: a link or folder that cannot be made does
// not stop the installation, and nothing is reported.
template <typename Schritt>
void Ohne_Meldung(Schritt schritt) {
    try {
        schritt();
    } catch (const Laufzeitfehler&) {
    }
}

bool Ordner_Merken(Programm& p) {
    try {
        p.host().WriteText(p.Einstellungen_Anwendung, p.Einstellungen_Abschnitt, Einstellung_Ordner,
                           p.Ziel_Ordner);
        return true;
    } catch (const Laufzeitfehler&) {
        p.ui().Message("Dateifehler 3.6", "Setup", 0);
        p.Ende = kJa;
        p.ui().SetAvailable(p.CMD_Weiter, true);
        return false;
    }
}

void Desktop_Verknuepfung(Programm& p, bool nt) {
    Ohne_Meldung([&] { p.host().CreateLink(Desktop_Ordner(p, nt) + "\\KALDORIN_Edit.LNK"); });
}

void Startmenue_Eintraege(Programm& p) {
    Host& host = p.host();
    std::string ordner;
    Ohne_Meldung([&] { ordner = host.ProgramsFolder() + "\\KALDORIN"; });
    if (ordner.empty()) return;  // no Start menu known: no entries, as for a failed link
    Ohne_Meldung([&] { host.MakeFolder(ordner); });
    Ohne_Meldung([&] { host.CreateLink(ordner + "\\KALDORIN_Edit.LNK"); });
    if (!p.ui().Ticked(p.CB_Konvert)) return;
    host.SetLinkTarget(p.Ziel_Ordner + "\\DOS_Konverter.EXE");
    Ohne_Meldung([&] { host.CreateLink(ordner + "\\DOS_Konverter.LNK"); });
}

}  // namespace

void Installieren(Programm& p) {
    if (!Dateien_Kopieren(p)) return;
    if (!Ordner_Merken(p)) return;
    Ohne_Meldung([&] { Programmeintrag_Schreiben(p); });
    p.ui().SetMousePointer(kArrowPointer);
    p.host().SetLinkTarget(p.Ziel_Ordner + "\\KALDORIN_Edit.EXE");
    const bool nt = p.host().VersionWord() >= 0;
    if (Gesetzt(p.Eintrag_Desktop)) Desktop_Verknuepfung(p, nt);
    if (Gesetzt(p.Eintrag_Start)) Startmenue_Eintraege(p);
    p.ui().Message(Meldung_Installiert, "", 0);
    p.Seite += 1;
    p.Ende = kJa;
}

}  // namespace kaldorin
