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

TEST(Bindung, TheLibraryIsLoadedOnceForAllItsFunctions) {
    Bibliothekseintrag bibliothek{nullptr, L"kernel32.dll"};
    Funktionseintrag erste{nullptr, &bibliothek, "GetTickCount"};
    Funktionseintrag zweite{nullptr, &bibliothek, "GetCurrentProcessId"};
    const FARPROC a = Aufloesen(erste);
    ASSERT_NE(a, nullptr);
    const HMODULE geladen = bibliothek.modul;
    ASSERT_NE(geladen, nullptr);
    EXPECT_EQ(Aufloesen(erste), a);  // later calls go straight to the function
    EXPECT_NE(Aufloesen(zweite), nullptr);
    EXPECT_EQ(bibliothek.modul, geladen);
}

TEST(Bindung, AMissingLibraryOrFunctionIsAnError) {
    Bibliothekseintrag fehlt{nullptr, L"gibtesnicht-kaldorin.dll"};
    Funktionseintrag f{nullptr, &fehlt, "Irgendwas"};
    EXPECT_THROW(Aufloesen(f), Laufzeitfehler);
    Bibliothekseintrag kernel{nullptr, L"kernel32.dll"};
    Funktionseintrag g{nullptr, &kernel, "GibtEsNichtKaldorin"};
    EXPECT_THROW(Aufloesen(g), Laufzeitfehler);
    EXPECT_EQ(g.adresse, nullptr);
}

}  // namespace
}  // namespace kaldorin::w32
