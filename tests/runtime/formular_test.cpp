#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "runtime/formular.h"

namespace kaldorin {
namespace {

using ::testing::HasSubstr, ::testing::ThrowsMessage;

// Found by fuzzing: a quoted text where a name belongs was taken as the name, quote
// mark and all, so a control named "CMD_Weiter (with the quote) bound no handler.
TEST(Formularbeschreibung, AQuotedTextIsNoName) {
    const std::pair<const char*, const char*> faelle[] = {
        {"form \"F\" 10 10 \"T\"\n", "Zeile 1"},
        {"form F 10 10 \"T\"\nlabel LB 1 1 1 1\nbutton \"CMD_Weiter\" 1 2 3 4\n", "Zeile 3"},
    };
    for (const auto& fall : faelle)
        EXPECT_THAT([&] { ParseForm(fall.first); }, ThrowsMessage<Laufzeitfehler>(HasSubstr(fall.second)))
            << fall.first;
    const auto form = ParseForm("form F 10 10 \"T\"\nbutton CMD_Weiter 1 2 3 4 \"weiter\"\n");
    EXPECT_EQ(form.elements.at(0).name, "CMD_Weiter");
    EXPECT_EQ(form.elements.at(0).text, "weiter");
}

}  // namespace
}  // namespace kaldorin
