#include "runtime/ui/script.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

namespace kaldorin {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

[[noreturn]] void Fail(int line, const std::string& source, const std::string& why) {
    throw ScriptError("Skriptzeile " + std::to_string(line) + " (\"" + source + "\"): " + why);
}

// Cuts the next blank-separated word from the front of `rest`.
std::string_view NextWord(std::string_view& rest) {
    std::size_t start = 0;
    while (start < rest.size() && IsBlank(rest[start])) ++start;
    std::size_t end = start;
    while (end < rest.size() && !IsBlank(rest[end])) ++end;
    std::string_view word = rest.substr(start, end - start);
    rest.remove_prefix(end);
    return word;
}

// What is left of a line once a trailing "# comment" and blanks are removed.
std::string_view WithoutComment(std::string_view rest) {
    if (auto hash = rest.find('#'); hash != std::string_view::npos) rest = rest.substr(0, hash);
    while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
    return rest;
}

const std::map<std::string_view, ScriptAction> kActions = {
    {"click", ScriptAction::Click},   {"close", ScriptAction::Close},
    {"type", ScriptAction::Type},     {"tick", ScriptAction::Tick},
    {"answer", ScriptAction::Answer}, {"folder", ScriptAction::Folder},
    {"dump", ScriptAction::Dump},
};

int PositiveNumber(std::string_view word, const ScriptLine& s) {
    int value = 0;
    auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), value);
    if (word.empty() || error != std::errc() || end != word.data() + word.size() || value < 1)
        Fail(s.line, s.source, "erwartet ist eine Knopfnummer ab 1, nicht \"" + std::string(word) + "\"");
    return value;
}

// Fills in the arguments of one action; `rest` is the line after the action word.
void ParseArguments(ScriptLine& s, std::string_view rest) {
    switch (s.action) {
    case ScriptAction::Type: {
        s.target = NextWord(rest);
        if (s.target.empty()) Fail(s.line, s.source, "type braucht ein Steuerelement");
        if (!rest.empty()) rest.remove_prefix(1);  // the one separating blank
        s.text = rest;
        return;
    }
    case ScriptAction::Folder: {
        while (!rest.empty() && IsBlank(rest.front())) rest.remove_prefix(1);
        while (!rest.empty() && IsBlank(rest.back())) rest.remove_suffix(1);
        s.text = rest;
        s.cancel = rest.empty();
        return;
    }
    default: break;
    }
    rest = WithoutComment(rest);
    std::string_view first = NextWord(rest);
    std::string_view second = NextWord(rest);
    if (!NextWord(rest).empty()) Fail(s.line, s.source, "zu viele Wörter");
    switch (s.action) {
    case ScriptAction::Click:
    case ScriptAction::Close:
        if (first.empty() || !second.empty()) Fail(s.line, s.source, "erwartet ist genau ein Name");
        s.target = first;
        return;
    case ScriptAction::Tick:
        if (first.empty() || (second != "0" && second != "1"))
            Fail(s.line, s.source, "erwartet: tick STEUERELEMENT 0|1");
        s.target = first;
        s.number = second == "1" ? 1 : 0;
        return;
    case ScriptAction::Answer:
        if (!second.empty()) Fail(s.line, s.source, "erwartet: answer N");
        s.number = PositiveNumber(first, s);
        return;
    case ScriptAction::Dump:
        if (!first.empty()) Fail(s.line, s.source, "dump nimmt nichts an");
        return;
    default: return;
    }
}

}  // namespace

std::vector<ScriptLine> ParseScript(std::string_view text) {
    std::vector<ScriptLine> lines;
    int number = 0;
    for (std::size_t pos = 0; pos <= text.size();) {
        std::size_t end = std::min(text.find('\n', pos), text.size());
        std::string_view raw = text.substr(pos, end - pos);
        pos = end + 1;
        ++number;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);

        std::string_view rest = raw;
        std::string_view word = NextWord(rest);
        if (word.empty() || word.front() == '#') continue;
        ScriptLine s;
        s.line = number;
        s.source = raw;
        auto action = kActions.find(word);
        if (action == kActions.end()) Fail(number, s.source, "unbekannte Aktion \"" + std::string(word) + "\"");
        s.action = action->second;
        ParseArguments(s, rest);
        lines.push_back(std::move(s));
    }
    return lines;
}

Script::Script(std::vector<ScriptLine> lines) : lines_(lines.begin(), lines.end()) {}

Script Script::FromFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ScriptError("Das Skript " + path + " lässt sich nicht lesen.");
    std::ostringstream content;
    content << in.rdbuf();
    if (in.bad()) throw ScriptError("Das Skript " + path + " lässt sich nicht lesen.");
    return Script(ParseScript(content.str()));
}

ScriptLine Script::Take() {
    ScriptLine next = std::move(lines_.front());
    lines_.pop_front();
    return next;
}

}  // namespace kaldorin
