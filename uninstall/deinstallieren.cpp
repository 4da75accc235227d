#include <algorithm>
#include <cctype>
#include <functional>
#include <set>

#include "install/installation.h"
#include "runtime/strings.h"
#include "uninstall/deinstallation.h"
#include "wizard/assistent.h"

namespace kaldorin {

namespace {

// Flags of the kept-folder set; a flag is cleared when its folder was removed.
enum Behalten : int { kFahrplan = 1, kStellwerk = 2, kLokdatenbank = 4, kBilder = 8, kSound = 16 };

struct Lauf {
    Programm& p;
    int fehler = 0;
    int behalten = kFahrplan | kStellwerk | kLokdatenbank | kBilder | kSound;

    // Runs one step; its first failure ends it and records its number.
    bool Schritt(int nummer, const std::function<void()>& aktion) {
        try {
            aktion();
            return true;
        } catch (const Laufzeitfehler&) {
            if (nummer > 0) fehler = nummer;
            return false;
        }
    }
};

std::string Klein(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Deletes what the search lists in `ordner`, then removes the folder. Attribute class
// kAttrHidden | kAttrSystem adds hidden and system files, whose attributes are cleared
// first.
void Leeren_Und_Entfernen(Host& host, const std::string& ordner, int klasse) {
    for (std::string name = host.FindFirst(ordner + "\\*", klasse); !name.empty();
         name = host.FindNext()) {
        const std::string pfad = ordner + "\\" + name;
        if (klasse & (kAttrHidden | kAttrSystem)) host.ClearAttributes(pfad);
        host.DeleteFile(pfad);
    }
    host.RemoveFolder(ordner);
}

// The names that an installation writes directly into the installation folder.
std::set<std::string> Eigene_Dateien() {
    std::set<std::string> namen;
    auto merken = [&namen](const std::string& ziel) {
        if (ziel.find('\\', 1) == std::string::npos) namen.insert(Klein(ziel.substr(1)));
    };
    for (const auto& ziel : Hauptliste_Ziele) merken(ziel);
    for (const auto& datei : Zusatzliste) merken(datei.ziel);
    return namen;
}

// Deletes the installation's own files in the installation folder and leaves every
// other file there alone: the user may have installed into a folder that holds
// documents of their own. Those files keep the folder, so removing it then fails.
void Programmordner_Leeren(Lauf& lauf, const std::string& ordner) {
    Host& host = lauf.p.host();
    const std::set<std::string> eigene = Eigene_Dateien();
    for (std::string name = host.FindFirst(ordner + "\\*", 0); !name.empty();
         name = host.FindNext()) {
        if (eigene.count(Klein(name))) host.DeleteFile(ordner + "\\" + name);
    }
    if (lauf.behalten == 0) host.RemoveFolder(ordner);
}

void Einstellungen_Entfernen(Programm& p) {
    Host& host = p.host();
    const std::string& anwendung = p.Einstellungen_Anwendung;
    const std::string& abschnitt = p.Einstellungen_Abschnitt;
    for (const char* schluessel : {Einstellung_Ordner, "BWS1", "BWS2", "BWS3", "BWS4", "BWS5", "FPW1",
                                   "FPW2", "FPW3", "FPW4", "FPW5"}) {
        if (!host.ReadText(anwendung, abschnitt, schluessel).empty())
            host.DeleteKey(anwendung, abschnitt, schluessel);
    }
    host.DeleteSection(anwendung, abschnitt);
    host.DeleteApplication(anwendung);
    host.DeleteSectionTree(Programmeintrag_Anwendung, Programmeintrag_Abschnitt);
    p.Installiert_Ordner = "";
    p.ui().SetAvailable(p.CMD_Entfernen, false);
}

void Datenordner(Lauf& lauf, int schritt, Handle kaestchen, const std::string& ordner,
                 int flagge) {
    if (!lauf.p.ui().Ticked(kaestchen)) return;
    lauf.Schritt(schritt, [&] {
        Leeren_Und_Entfernen(lauf.p.host(), ordner, 0);
        lauf.behalten &= ~flagge;
    });
}

// The desktop link from where the installation made it: the family's folder under the
// Windows folder, else the user's own desktop. Only a file of the link's name goes.
void Desktop_Link_Loeschen(Programm& p, bool nt) {
    Host& host = p.host();
    const std::string alt = Desktop_Familienordner(p, nt) + (nt ? "\\KALDORIN_edit.LNK" : "\\Kaldorin_Edit.lnk");
    host.DeleteFile(host.FileExists(alt) ? alt : host.UserDesktopFolder() + "\\KALDORIN_Edit.LNK");
}

void Zurueckgeben(Programm& p, int fehler) {
    if (fehler > 0)
        p.ui().Message("Beim entfernen von KALDORIN-Edit ist Fehler " + NumberText(fehler) +
                           " aufgetreten!",
                       "", 0);
    else
        p.ui().Message(Meldung_Entfernt, "", 0);
    CMD_Zurück_Click(p);
    Entfernen_Pruefen(p);
}

}  // namespace

void Deinstallieren(Programm& p) {
    if (p.Installiert_Ordner.empty()) {
        CMD_Zurück_Click(p);
        Entfernen_Pruefen(p);
        return;
    }
    Host& host = p.host();
    const std::string basis = p.Installiert_Ordner;
    const bool nt = host.VersionWord() >= 0;
    Lauf lauf{p};
    Datenordner(lauf, 1, p.CB_Rem_SO, basis + "\\sound", kSound);
    Datenordner(lauf, 2, p.CB_Rem_PI, basis + "\\bilder", kBilder);
    Datenordner(lauf, 3, p.CB_Rem_FP, basis + "\\fahrplan", kFahrplan);
    Datenordner(lauf, 4, p.CB_Rem_GP, basis + "\\stellwerk", kStellwerk);
    Datenordner(lauf, 5, p.CB_Rem_DB, basis + "\\lokdatenbank", kLokdatenbank);
    lauf.Schritt(6, [&] { Leeren_Und_Entfernen(host, basis + "\\help", kAttrHidden | kAttrSystem); });
    lauf.Schritt(7, [&] { Programmordner_Leeren(lauf, basis); });
    lauf.Schritt(0, [&] { Desktop_Link_Loeschen(p, nt); });
    lauf.Schritt(9, [&] { Leeren_Und_Entfernen(host, host.ProgramsFolder() + "\\Kaldorin", 0); });
    lauf.Schritt(10, [&] { Einstellungen_Entfernen(p); });
    Zurueckgeben(p, lauf.fehler);
}

}  // namespace kaldorin
