#pragma once
// What every face is told at start-up, from the command line.

#include <cstdint>
#include <optional>
#include <string>

namespace kaldorin {

struct FaceOptions {
    std::string script;      // --script FILE; "" when none
    std::string transcript;  // --transcript FILE; "" when none
    // --system screen=WxH, twips=N, colours=N. Unset: the display's own values (the
    // headless face has none and uses 1024 x 768, 15 twips a pixel, 16777216 colours).
    std::optional<int> screenWidth;
    std::optional<int> screenHeight;
    std::optional<int> twips;
    std::optional<std::int64_t> colours;
    // Unattended runs: every alert and message answers itself with its first button,
    // takes no script line, and is printed on standard output as the user would have
    // read it.
    bool answerDialogs = false;
};

}  // namespace kaldorin
