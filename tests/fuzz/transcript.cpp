// The transcript writer. Whatever bytes a text holds:
// - it becomes one JSON string that a strict parser reads, on one line;
// - a transcript line that carries it is one object and ends with its only line break;
// - valid UTF-8 reads back as itself, byte for byte.

#include <nlohmann/json.hpp>

#include <sstream>

#include "runtime/ui/transcript.h"
#include "tests/fuzz/fuzz.h"

using namespace kaldorin;
using namespace kaldorin::fuzz;

namespace {

bool GueltigesUtf8(const std::string& text) {
    try {
        (void)nlohmann::json(text).dump();  // the strict handler throws on a broken byte
        return true;
    } catch (const nlohmann::json::type_error&) {
        return false;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t groesse) {
    const std::string text = Text(daten, groesse);
    const std::string json = JsonString(text);
    PRUEFE(json.find_first_of("\r\n") == std::string::npos);
    const nlohmann::json gelesen = nlohmann::json::parse(json, nullptr, false);
    PRUEFE(gelesen.is_string());
    if (GueltigesUtf8(text)) PRUEFE(gelesen.get<std::string>() == text);

    std::ostringstream aus;
    Transcript(&aus).Type("TB_Dir", text, "");
    const std::string zeile = aus.str();
    PRUEFE(!zeile.empty() && zeile.find('\n') == zeile.size() - 1);
    const nlohmann::json objekt = nlohmann::json::parse(zeile, nullptr, false);
    PRUEFE(objekt.is_object() && objekt["text"] == gelesen);
    return 0;
}
