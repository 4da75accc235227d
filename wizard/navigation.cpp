#include "install/installation.h"
#include "uninstall/deinstallation.h"
#include "wizard/assistent.h"

namespace kaldorin {

namespace {

// Back and forward become usable again when a forward click ends; a failure here
// must not escape the click.
void Knoepfe_Freigeben(Programm& p) {
    try {
        p.ui().SetAvailable(p.CMD_Zurück, true);
        p.ui().SetAvailable(p.CMD_Weiter, true);
    } catch (const Laufzeitfehler&) {
    }
}

void Weiter_Zu_Ordnern(Programm& p) {
    Seite_Anzeigen(p);
    Quellgruppe_Zeigen(p);
    Zielgruppe_Zeigen(p);
    p.ui().SetAvailable(p.CMD_Zurück, true);
    p.ui().SetAvailable(p.CMD_Entfernen, false);
}

// False when the source was rejected: page 2 stays exactly as it was.
bool Weiter_Zu_Optionen(Programm& p) {
    if (!Quelle_Pruefen(p)) {
        p.Seite -= 1;
        p.ui().SetAvailable(p.CMD_Zurück, true);
        p.ui().SetAvailable(p.CMD_Weiter, true);
        return false;
    }
    Seite_Anzeigen(p);
    Quellgruppe_Verbergen(p);
    Zielgruppe_Verbergen(p);
    Optionsgruppe_Zeigen(p);
    p.ui().SetAvailable(p.CMD_Zurück, true);
    p.ui().SetAvailable(p.CMD_Entfernen, false);
    return true;
}

void Weiter_Zur_Installation(Programm& p) {
    Zielbaum_Erstellen(p);
    p.Eintrag_Desktop = p.ui().Ticked(p.CB_Desk) ? kJa : 0;
    p.Eintrag_Start = p.ui().Ticked(p.CB_Start) ? kJa : 0;
    Optionsgruppe_Verbergen(p);
    Seite_Anzeigen(p);
    Installieren(p);
}

}  // namespace

void CMD_Weiter_Click(Programm& p) {
    if (Gesetzt(p.Modus_Entfernen)) {
        Deinstallieren(p);
        return;
    }
    if (p.Seite < 4) p.Seite += 1;
    p.ui().SetAvailable(p.CMD_Weiter, false);
    p.ui().SetAvailable(p.CMD_Zurück, false);
    switch (p.Seite) {
        case 2: Weiter_Zu_Ordnern(p); break;
        case 3:
            if (!Weiter_Zu_Optionen(p)) return;
            break;
        case 4: Weiter_Zur_Installation(p); break;
        default: break;
    }
    Knoepfe_Freigeben(p);
}

void CMD_Zurück_Click(Programm& p) {
    Face& ui = p.ui();
    if (Gesetzt(p.Modus_Entfernen)) {
        Entfernengruppe_Verbergen(p);
        ui.SetAvailable(p.CMD_Entfernen, true);
        Seite_Anzeigen(p);
        p.Modus_Entfernen = 0;
        ui.SetAvailable(p.CMD_Zurück, false);
        return;
    }
    if (p.Seite > 0) p.Seite -= 1;
    Seite_Anzeigen(p);
    switch (p.Seite) {
        case 1:
            Quellgruppe_Verbergen(p);
            Zielgruppe_Verbergen(p);
            ui.SetAvailable(p.CMD_Zurück, false);
            Entfernen_Pruefen(p);
            break;
        case 2:
            Optionsgruppe_Verbergen(p);
            Quellgruppe_Zeigen(p);
            Zielgruppe_Zeigen(p);
            ui.SetAvailable(p.CMD_Zurück, true);
            ui.SetAvailable(p.CMD_Entfernen, false);
            break;
        default:
            break;
    }
}

void CMD_Entfernen_Click(Programm& p) {
    p.Modus_Entfernen = kJa;
    Texte_Loeschen(p);
    Entfernengruppe_Zeigen(p);
    p.ui().SetAvailable(p.CMD_Entfernen, false);
    p.ui().SetAvailable(p.CMD_Zurück, true);
    p.ui().SetText(p.LB_12, "Zum löschen von KALDORIN-Edit auf 'weiter' klicken");
}

// Cancel and closing either window end the program after the current event,
// without a question; nothing done so far is undone.
void CMD_Abbrechen_Click(Programm& p) { p.Ende = kJa; }
void FRM_Installation_Close(Programm& p) { p.Ende = kJa; }
void Win_1_Close(Programm& p) { p.Ende = kJa; }

}  // namespace kaldorin
