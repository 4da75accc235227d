// The script language. Whatever a script file holds:
// - it parses or throws ScriptError naming the line, before anything runs;
// - every line it accepts is complete: a control for click, close, tick and type,
//   0 or 1 for tick, a button from 1 for answer, a folder path without blanks around;
// - the accepted lines, written out again, parse to the same actions.

#include <tuple>

#include "runtime/ui/script.h"
#include "tests/fuzz/fuzz.h"

using namespace kaldorin;
using namespace kaldorin::fuzz;

namespace {

auto Felder(const ScriptLine& s) { return std::tie(s.action, s.target, s.text, s.number, s.cancel, s.source); }

void Vollstaendig(const ScriptLine& s) {
    PRUEFE(s.source.find('\n') == std::string::npos);
    PRUEFE(s.target.find_first_of(" \t") == std::string::npos);
    switch (s.action) {
        case ScriptAction::Click:
        case ScriptAction::Close:
        case ScriptAction::Type: PRUEFE(!s.target.empty()); break;
        case ScriptAction::Tick: PRUEFE(!s.target.empty() && (s.number == 0 || s.number == 1)); break;
        case ScriptAction::Answer: PRUEFE(s.number >= 1); break;
        case ScriptAction::Folder:
            PRUEFE(s.cancel == s.text.empty());
            PRUEFE(s.text.empty() || (s.text.front() != ' ' && s.text.front() != '\t' &&
                                      s.text.back() != ' ' && s.text.back() != '\t'));
            break;
        case ScriptAction::Dump: break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    std::vector<ScriptLine> zeilen;
    try {
        zeilen = ParseScript(Text(daten, groesse));
    } catch (const ScriptError&) {
        return 0;
    }
    std::string neu;
    int vorige = 0;
    for (const ScriptLine& s : zeilen) {
        PRUEFE(s.line > vorige);
        vorige = s.line;
        Vollstaendig(s);
        neu += s.source + "\r\n";  // CR LF: a source that ends in CR keeps it
    }
    const std::vector<ScriptLine> wieder = ParseScript(neu);
    PRUEFE(wieder.size() == zeilen.size());
    for (std::size_t i = 0; i < zeilen.size(); ++i) PRUEFE(Felder(wieder[i]) == Felder(zeilen[i]));
    return 0;
}
