// Pieces of the Win32 face that need no window: line breaks for Windows texts and
// the late binding of a library function by name.
#include <gtest/gtest.h>

#include "runtime/runtime.h"
#include "runtime/ui/win32/shell_bindung.h"
#include "runtime/ui/win32/w32_hilfen.h"

namespace kaldorin::w32 {
namespace {

TEST(Zeilen, EveryLineEndBecomesCrLf) {
    EXPECT_EQ(Zeilen("a\rb\nc\r\nd", false), L"a\r\nb\r\nc\r\nd");
    EXPECT_EQ(Zeilen("a|b||c", true), L"a\r\nb\r\n\r\nc");
    EXPECT_EQ(Zeilen("a|b", false), L"a|b");
    EXPECT_EQ(Zeilen("Schließen", false), L"Schlie\u00DFen");
}

// The library is loaded once for all its functions; a missing library or function
// is an error, and nothing is bound.
TEST(Bindung, TheLibraryIsLoadedOnceAndWhatIsMissingIsAnError) {
    Bibliothekseintrag kernel{nullptr, L"kernel32.dll"}, fehlt{nullptr, L"gibtesnicht-kaldorin.dll"};
    Funktionseintrag erste{nullptr, &kernel, "GetTickCount"}, zweite{nullptr, &kernel, "GetCurrentProcessId"};
    const FARPROC a = Aufloesen(erste);
    const HMODULE geladen = kernel.modul;
    ASSERT_NE(a, nullptr);
    ASSERT_NE(geladen, nullptr);
    EXPECT_EQ(Aufloesen(erste), a);  // later calls go straight to the function
    EXPECT_NE(Aufloesen(zweite), nullptr);
    EXPECT_EQ(kernel.modul, geladen);
    Funktionseintrag f{nullptr, &fehlt, "Irgendwas"}, g{nullptr, &kernel, "GibtEsNichtKaldorin"};
    EXPECT_THROW(Aufloesen(f), Laufzeitfehler);
    EXPECT_THROW(Aufloesen(g), Laufzeitfehler);
    EXPECT_EQ(g.adresse, nullptr);
}

}  // namespace
}  // namespace kaldorin::w32
