// The modal dialogs of the headless face: each takes its answer from the script, or,
// in an unattended run, answers itself with its first button and is printed.
#include <iostream>

#include "runtime/ui/headless/headless_face.h"

namespace kaldorin {

int HeadlessFace::Alert(int style, std::string_view text, int defaultButton, std::string_view labels) {
    run_.ThrowIfStopping();
    if (options_.answerDialogs) {
        transcript_.Alert(style, text, defaultButton, labels, 1);
        std::cout << AnsweredAlert(text, SplitButtons(labels).at(0));
        return 1;
    }
    const int buttons = static_cast<int>(SplitButtons(labels).size());
    return AnswerAlert(run_, transcript_, TakeAnswer(), style, text, defaultButton, labels, buttons);
}

void HeadlessFace::Message(std::string_view text, std::string_view title, int style) {
    run_.ThrowIfStopping();
    messages_.emplace_back(text);
    if (options_.answerDialogs) {
        transcript_.Message(title, text, style, 1);
        std::cout << AnsweredMessage(title, text);
        return;
    }
    AnswerMessage(run_, transcript_, TakeAnswer(), title, text, style);
}

std::string HeadlessFace::BrowseForFolder(Handle owner, int, std::string_view title, std::string_view start) {
    run_.ThrowIfStopping();
    if (owner != 0) Get(owner, "Ordnerauswahl");  // the owner must be open
    return AnswerFolder(run_, transcript_, host_, TakeAnswer(), title, start).value_or("");
}

}  // namespace kaldorin
