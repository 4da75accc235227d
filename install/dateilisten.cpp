#include "install/installation.h"

namespace kaldorin {

const std::vector<std::string> Hauptliste_Ziele = {
    "\\KALDORIN_Edit.EXE", "\\t4.ovl",       "\\t7.ovl",        "\\t8.ovl",   "\\t9.ovl",
    "\\KALDORIN.XLO",      "\\KALDORIN.PA1", "\\KALDORIN.OCX",  "\\T14.ovl",
};

// The packed names follow no single rule; each is stated as it is on the medium.
const std::vector<Zusatzdatei> Zusatzliste = {
    {"\\Setup.ex_", "\\Setup.Exe", false},
    {"\\pfiff3.wa_", "\\sound\\pfiff3.wav", false},
    {"\\lok.bm_", "\\bilder\\lok.bmp", false},
    {"\\test.bw_", "\\stellwerk\\test.bws", false},
    {"\\test.ta_", "\\stellwerk\\test.tab", false},
    {"\\test.po_", "\\stellwerk\\test.pos", false},
    {"\\test.fp_", "\\fahrplan\\test.fpw", false},
    {"\\test.fs_", "\\fahrplan\\test.fps", false},
    {"\\stellwrk.hl_", "\\help\\Stellwerk.hlp", false},
    {"\\stellwrk.cn_", "\\help\\Stellwrk.cnt", false},
    {"\\glbein.hl_", "\\help\\GleisbildEingabe.hlp", false},
    {"\\glbein.cn_", "\\help\\GleisbildEingabe.cnt", false},
    {"\\fahrplan.hl_", "\\help\\Fahrplan.hlp", false},
    {"\\fahrplan.cn_", "\\help\\Fahrplan.cnt", false},
    {"\\FStrEin.hl_", "\\help\\FahrstraßenEingabe.hlp", false},
    {"\\FStrEin.cn_", "\\help\\FahrstraßenEingabe.cnt", false},
    {"\\BuR.hl_", "\\help\\Datensicherung.hlp", false},
    {"\\BuR.cn_", "\\help\\Datensicherung.cnt", false},
    {"\\DOS_Konv.ex_", "\\DOS_Konverter.Exe", true},
};

std::string Hauptliste_Quelle(int position, const std::string& code) {
    return "\\t" + code + (position == 0 ? "e.px_" : ".px_");
}

}  // namespace kaldorin
