#pragma once
// What a distribution medium holds: every packed file under its short name, with the
// name it gets in the installed tree. Main files must all be there; the additional
// files may be missing (the setup program skips an absent one). Target names are
// relative to the installation folder, with "\\" between folders, in UTF-8.
//
// Derived from the setup program's own file lists, so medium and installation agree.

#include <string>
#include <string_view>
#include <vector>

namespace kaldorin::pack {

struct MediumDatei {
    std::string quelle;  // short name on the medium
    std::string ziel;    // name in the installed tree
    bool haupt;          // a main file: the medium is useless without it
};

// The main files in their order, then the additional files in theirs.
const std::vector<MediumDatei>& Medium();

// The setup program's own packed copy: made from the setup program, not the tree.
inline constexpr std::string_view kSetupQuelle = "Setup.ex_";

}  // namespace kaldorin::pack
