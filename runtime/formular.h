#pragma once
// Stored form descriptions: a form and its design-time controls, as text, parsed
// once by whichever face loads the form.
//
// One element a line; blank lines and lines starting with '#' are skipped:
//   form   NAME WIDTH HEIGHT "TITLE"
//   KIND   NAME X Y WIDTH HEIGHT [disabled] [bold] [size=N] ["TEXT"]
// KIND is label, textbox, button, frame, checkbox, progressbar or picture. The form
// line comes first. Texts are UTF-8 in double quotes; \" stands for a quote.

#include <string>
#include <string_view>
#include <vector>

#include "runtime/runtime.h"

namespace kaldorin {

struct FormElement {
    Art art = Art::Label;
    std::string name;
    std::string text;
    int x = 0, y = 0, width = 0, height = 0;
    bool available = true;
    bool bold = false;
    int fontSize = 0;  // 0: the form's font size
};

struct FormDescription {
    std::string name;
    std::string title;
    int width = 0, height = 0;
    std::vector<FormElement> elements;  // in the stored order
};

// Parses a stored description. Throws Laufzeitfehler naming the line at fault.
FormDescription ParseForm(std::string_view text);

}  // namespace kaldorin
