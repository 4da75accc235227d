// The form description, as a face loads it. Whatever the text holds:
// - it parses or throws Laufzeitfehler naming the line;
// - what it accepts, written out again, parses to the same form (written out once
//   more, it gives the same text).

#include "runtime/formular.h"
#include "tests/fuzz/fuzz.h"

using namespace kaldorin;
using namespace kaldorin::fuzz;

namespace {

// The description's word for each kind but the text area, which it cannot hold.
const char* ArtName(Art art) {
    static const char* const namen[] = {"label", "textbox", "button", "frame", "checkbox", "progressbar", "picture"};
    PRUEFE(art != Art::TextArea);
    return namen[static_cast<int>(art)];
}

std::string Zitiert(const std::string& text) {
    std::string aus = "\"";
    for (char c : text) aus += c == '"' ? std::string("\\\"") : std::string(1, c);
    return aus + "\"";
}

std::string Geschrieben(const FormDescription& f) {
    std::string aus = "form " + f.name + " " + std::to_string(f.width) + " " + std::to_string(f.height) + " " +
                      Zitiert(f.title) + "\n";
    for (const FormElement& e : f.elements) {
        aus += std::string(ArtName(e.art)) + " " + e.name + " " + std::to_string(e.x) + " " + std::to_string(e.y) +
               " " + std::to_string(e.width) + " " + std::to_string(e.height);
        if (!e.available) aus += " disabled";
        if (e.bold) aus += " bold";
        if (e.fontSize != 0) aus += " size=" + std::to_string(e.fontSize);
        aus += " " + Zitiert(e.text) + "\n";
    }
    return aus;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    FormDescription form;
    try {
        form = ParseForm(Text(daten, groesse));
    } catch (const Laufzeitfehler&) {
        return 0;
    }
    PRUEFE(Geschrieben(ParseForm(Geschrieben(form))) == Geschrieben(form));
    return 0;
}
