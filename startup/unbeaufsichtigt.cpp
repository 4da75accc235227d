#include "startup/unbeaufsichtigt.h"

#include <map>
#include <sstream>

#include "programm/programm.h"

namespace kaldorin {

namespace {

const std::map<std::string, std::string> kDatenordner = {
    {"fahrplan", "CB_Rem_FP"},    {"stellwerk", "CB_Rem_GP"}, {"lokdatenbank", "CB_Rem_DB"},
    {"bilder", "CB_Rem_PI"},      {"sound", "CB_Rem_SO"},
};

bool Datenordner_Lesen(const std::string& liste, std::vector<std::string>& kaestchen,
                       std::string& fehler) {
    if (liste == "all") {
        for (const auto& [name, box] : kDatenordner) kaestchen.push_back(box);
        return true;
    }
    std::istringstream teile(liste);
    for (std::string name; std::getline(teile, name, ',');) {
        auto it = kDatenordner.find(name);
        if (it == kDatenordner.end()) {
            fehler = "--remove-data kennt \"" + name +
                     "\" nicht (all oder fahrplan,stellwerk,lokdatenbank,bilder,sound).";
            return false;
        }
        kaestchen.push_back(it->second);
    }
    return true;
}

std::string Wiederholt(const std::string& zeile, int mal) {
    std::string text;
    for (int i = 0; i < mal; ++i) text += zeile;
    return text;
}

}  // namespace

bool Unbeaufsichtigt_Pruefen(Unbeaufsichtigt& auftrag, std::string& fehler) {
    // A removal installs nothing, so it needs no acceptance of its own; the licence
    // window is passed on the administrator's behalf only to reach the wizard.
    if (!auftrag.akzeptiert && !auftrag.entfernen) {
        fehler = "Ohne --accept-licence wird nichts installiert: der Lizenzvertrag muss "
                 "angenommen werden.";
        return false;
    }
    if (!auftrag.datenliste.empty() && !auftrag.entfernen) {
        fehler = "--remove-data gilt nur zusammen mit --remove.";
        return false;
    }
    if (auftrag.entfernen && (!auftrag.quelle.empty() || !auftrag.ziel.empty())) {
        fehler = "--source und --target gelten nicht für --remove.";
        return false;
    }
    auftrag.datenordner.clear();
    return auftrag.datenliste.empty() || Datenordner_Lesen(auftrag.datenliste, auftrag.datenordner, fehler);
}

std::string Unbeaufsichtigt_Skript(const Unbeaufsichtigt& auftrag) {
    std::string script = Wiederholt("click cbo_Weiter\n", 5) + "click cbo_Akzeptieren\n";
    if (auftrag.entfernen) {
        script += "click CMD_Entfernen\n";
        for (const auto& box : auftrag.datenordner) script += "tick " + box + " 1\n";
        // Without a recorded installation the remove click is ignored; the run then
        // ends through cancel without removing anything.
        return script + "click CMD_Weiter\nclick CMD_Abbrechen\n";
    }
    script += "click CMD_Weiter\n";
    if (!auftrag.quelle.empty()) script += "type TB_Von " + auftrag.quelle + "\n";
    if (!auftrag.ziel.empty()) script += "click CMD_Browse\nfolder " + auftrag.ziel + "\n";
    script += "click CMD_Weiter\n";
    if (!auftrag.desktop) script += "tick CB_Desk 0\n";
    if (!auftrag.startmenue) script += "tick CB_Start 0\n";
    if (!auftrag.konverter) script += "tick CB_Konvert 0\n";
    return script + "click CMD_Weiter\n";
}

int Unbeaufsichtigt_Ergebnis(const Unbeaufsichtigt& auftrag,
                             const std::vector<std::string>& meldungen) {
    const std::string ziel = auftrag.entfernen ? Meldung_Entfernt : Meldung_Installiert;
    bool erreicht = false;
    for (const auto& text : meldungen) {
        if (text != ziel) return 1;
        erreicht = true;
    }
    return erreicht ? 0 : 1;
}

bool Unbeaufsichtigt_Ziel_Pruefen(const Unbeaufsichtigt& auftrag, Host& host, std::string& fehler) {
    // The default target is the program's own choice, which makes what it needs.
    if (auftrag.entfernen || auftrag.ziel.empty()) return true;
    std::string ziel = auftrag.ziel;
    while (ziel.size() > 2 && ziel.back() == '\\') ziel.pop_back();
    const std::size_t schnitt = ziel.find_last_of('\\');
    const bool laufwerk = ziel.size() == 2 && ziel[1] == ':';
    if (schnitt == std::string::npos && !laufwerk) {
        fehler = "--target braucht einen vollständigen Pfad (C:\\... oder /...), nicht \"" + ziel + "\".";
        return false;
    }
    const std::string oben = schnitt == std::string::npos ? ziel : ziel.substr(0, schnitt);
    if (host.FolderExists(oben)) return true;
    fehler = "Der Ordner " + oben + " fehlt, darum kann KALDORIN-Edit nicht nach " + ziel +
             " installiert werden. Bitte den Ordner zuerst anlegen oder mit --target einen "
             "Ordner in einem vorhandenen angeben.";
    return false;
}

}  // namespace kaldorin
