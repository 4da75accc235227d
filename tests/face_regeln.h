#pragma once
// The rules every desktop face keeps on its real widgets, run by the tests of the Qt face
// and of the Win32 face alike: state round-trips through the widgets, misuse is refused
// (not clamped, not ignored), output goes only to an open surface, and a closed window
// takes its controls, the windows it owns and its surface with it.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "runtime/runtime.h"

namespace kaldorin::test {

inline void FaceRegelnPruefen(Face& face) {
    EXPECT_THROW(face.PrintLine("x"), Laufzeitfehler);  // nothing selected
    const Handle hintergrund = face.OpenWindow(1, 300, 200, 0), w = face.OpenWindow(3, 500, 400, hintergrund);
    const Handle b = face.CreateControl(w, Art::Button, "cbo_Weiter", "Weiter >", 150, 330, 80, 24);
    const Handle t = face.CreateControl(w, Art::TextBox, "TB_Dir", "C:\\Programme\\Fahrstraßen", 118, 150, 180, 20);
    const Handle p = face.CreateControl(w, Art::ProgressBar, "PB_Fortschritt", "", 10, 40, 200, 16);
    const Handle c = face.CreateControl(w, Art::CheckBox, "CB_Desk", "Desktop", 10, 70, 200, 16);
    const Handle tb = face.CreateControl(w, Art::TextArea, "tb1", "", 10, 70, 474, 252);
    EXPECT_EQ(face.FindControl("cbo_Weiter"), b);
    EXPECT_EQ(face.Text(t), "C:\\Programme\\Fahrstraßen");
    face.SetAvailable(b, false);
    EXPECT_FALSE(face.Available(b));
    face.SetText(w, "Lizenzvereinbarung");
    EXPECT_EQ(face.Text(w), "Lizenzvereinbarung");
    face.SetTicked(c, true);
    EXPECT_TRUE(face.Ticked(c));
    face.SetProgressMax(p, 8);
    face.SetProgress(p, 8);
    // Refused, not clamped; not a check box; no output surface; the name is taken; open.
    const std::vector<std::function<void()>> falsch = {
        [&] { face.SetProgress(p, 9); }, [&] { face.SetProgress(p, -1); }, [&] { face.SetProgressMax(p, 0); },
        [&] { face.SetTicked(b, true); }, [&] { face.SelectOutput(b); }, [&] { face.SetToolTip(w, "x"); },
        [&] { face.SetFontSize(b, 0); }, [&] { face.FindControl("CMD_Nichts"); },
        [&] { face.CreateControl(w, Art::Label, "TB_Dir", "", 0, 0, 1, 1); },
        [&] { face.CreateControl(w, Art::Label, "", "", 0, 0, 1, 1); }, [&] { face.OpenWindow(3, 500, 400, 0); }};
    for (std::size_t i = 0; i < falsch.size(); ++i) EXPECT_THROW(falsch[i](), Laufzeitfehler) << "misuse " << i;

    face.SelectOutput(tb);
    face.SetForeColour(RGB(255, 0, 0));
    face.SetPrintPosition(5, 2);
    face.PrintItem("VORK ");
    face.PrintLine("Lizenzvertrag");
    face.DrawText(3, 4, "ä");
    EXPECT_THROW(face.SetPrintPosition(0, 1), Laufzeitfehler);
    EXPECT_THROW(face.SetOutputFontSize(-2), Laufzeitfehler);
    face.CloseWindow(hintergrund);
    EXPECT_THROW(face.Text(tb), Laufzeitfehler);
    EXPECT_THROW(face.CloseWindow(w), Laufzeitfehler);  // went with its owner
    EXPECT_THROW(face.FindControl("tb1"), Laufzeitfehler);
    EXPECT_THROW(face.PrintLine("x"), Laufzeitfehler);  // the surface is gone
    EXPECT_NO_THROW(face.OpenWindow(3, 200, 100, 0));   // the number is free again
}

}  // namespace kaldorin::test
