#include "runtime/strings.h"

namespace kaldorin {

std::string NumberText(long long number) { return std::to_string(number); }

std::string PaddedNumber(long long number, int digits) {
    std::string text = std::to_string(number < 0 ? -number : number);
    if (static_cast<int>(text.size()) < digits) text.insert(0, digits - text.size(), '0');
    return number < 0 ? "-" + text : text;
}

std::string Blanks(int n) { return std::string(n > 0 ? n : 0, ' '); }

std::string UpToNul(std::string_view text) { return std::string(text.substr(0, text.find('\0'))); }

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

}  // namespace kaldorin
