#pragma once
// What a distribution medium holds: every packed file under its short name, with the
// name it gets in the installed tree. Main files must all be there; the additional
// files may be missing (the setup program skips an absent one). Target names are
// relative to the installation folder, with "\" between folders, in UTF-8.
//
// The setup program keeps its own copy of these lists; the two must agree.

#include <array>
#include <string_view>

namespace kaldorin::pack {

struct MediumDatei {
    std::string_view quelle;  // short name on the medium
    std::string_view ziel;    // name in the installed tree
    bool haupt;               // a main file: the medium is useless without it
};

// Main files: "t" + code + ("e.px_" at position 0, else ".px_"), with the codes
// "0","4","7","8","9","x","l","o","e" of positions 0 to 8.
inline constexpr std::array<MediumDatei, 28> kMedium{{
    {"t0e.px_", "KALDORIN_Edit.EXE", true},
    {"t4.px_", "t4.ovl", true},
    {"t7.px_", "t7.ovl", true},
    {"t8.px_", "t8.ovl", true},
    {"t9.px_", "t9.ovl", true},
    {"tx.px_", "KALDORIN.XLO", true},
    {"tl.px_", "KALDORIN.PA1", true},
    {"to.px_", "KALDORIN.OCX", true},
    {"te.px_", "T14.ovl", true},
    {"Setup.ex_", "Setup.Exe", false},
    {"pfiff3.wa_", "sound\\pfiff3.wav", false},
    {"lok.bm_", "bilder\\lok.bmp", false},
    {"test.bw_", "stellwerk\\test.bws", false},
    {"test.ta_", "stellwerk\\test.tab", false},
    {"test.po_", "stellwerk\\test.pos", false},
    {"test.fp_", "fahrplan\\test.fpw", false},
    {"test.fs_", "fahrplan\\test.fps", false},
    {"stellwrk.hl_", "help\\Stellwerk.hlp", false},
    {"stellwrk.cn_", "help\\Stellwrk.cnt", false},
    {"glbein.hl_", "help\\GleisbildEingabe.hlp", false},
    {"glbein.cn_", "help\\GleisbildEingabe.cnt", false},
    {"fahrplan.hl_", "help\\Fahrplan.hlp", false},
    {"fahrplan.cn_", "help\\Fahrplan.cnt", false},
    {"FStrEin.hl_", "help\\Fahrstra\xC3\x9F" "enEingabe.hlp", false},
    {"FStrEin.cn_", "help\\Fahrstra\xC3\x9F" "enEingabe.cnt", false},
    {"BuR.hl_", "help\\Datensicherung.hlp", false},
    {"BuR.cn_", "help\\Datensicherung.cnt", false},
    {"DOS_Konv.ex_", "DOS_Konverter.Exe", false},
}};

// The setup program's own packed copy: made from the setup program, not the tree.
inline constexpr std::string_view kSetupQuelle = "Setup.ex_";

}  // namespace kaldorin::pack
