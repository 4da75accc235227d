// The form description, as a face loads it. Whatever the text holds:
// - it parses or throws Laufzeitfehler naming the line;
// - what it accepts, written out again, parses to the same form.

#include "runtime/formular.h"
#include "tests/fuzz/fuzz.h"

using namespace kaldorin;
using namespace kaldorin::fuzz;

namespace {

const char* ArtName(Art art) {
    switch (art) {
        case Art::Label: return "label";
        case Art::TextBox: return "textbox";
        case Art::Button: return "button";
        case Art::Frame: return "frame";
        case Art::CheckBox: return "checkbox";
        case Art::ProgressBar: return "progressbar";
        case Art::Picture: return "picture";
        case Art::TextArea: break;
    }
    PRUEFE(!"a kind the description cannot hold");
    return "";
}

std::string Zitiert(const std::string& text) {
    std::string aus = "\"";
    for (char c : text) aus += c == '"' ? std::string("\\\"") : std::string(1, c);
    return aus + "\"";
}

std::string Geschrieben(const FormDescription& f) {
    std::string aus = "form " + f.name + " " + std::to_string(f.width) + " " +
                      std::to_string(f.height) + " " + Zitiert(f.title) + "\n";
    for (const FormElement& e : f.elements) {
        aus += std::string(ArtName(e.art)) + " " + e.name + " " + std::to_string(e.x) + " " +
               std::to_string(e.y) + " " + std::to_string(e.width) + " " +
               std::to_string(e.height);
        if (!e.available) aus += " disabled";
        if (e.bold) aus += " bold";
        if (e.fontSize != 0) aus += " size=" + std::to_string(e.fontSize);
        aus += " " + Zitiert(e.text) + "\n";
    }
    return aus;
}

bool Gleich(const FormElement& a, const FormElement& b) {
    return a.art == b.art && a.name == b.name && a.text == b.text && a.x == b.x &&
           a.y == b.y && a.width == b.width && a.height == b.height &&
           a.available == b.available && a.bold == b.bold && a.fontSize == b.fontSize;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    FormDescription form;
    try {
        form = ParseForm(Text(daten, groesse));
    } catch (const Laufzeitfehler&) {
        return 0;
    }
    const FormDescription wieder = ParseForm(Geschrieben(form));
    PRUEFE(wieder.name == form.name && wieder.title == form.title);
    PRUEFE(wieder.width == form.width && wieder.height == form.height);
    PRUEFE(wieder.elements.size() == form.elements.size());
    for (std::size_t i = 0; i < form.elements.size(); ++i) {
        PRUEFE(Gleich(wieder.elements[i], form.elements[i]));
    }
    return 0;
}
