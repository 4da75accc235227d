#include "runtime/ui/win32/w32_hilfen.h"

#include <vector>

#include "runtime/host/win32/breit.h"

namespace kaldorin::w32 {

std::string FensterText(HWND hwnd) {
    const int laenge = GetWindowTextLengthW(hwnd);
    std::vector<wchar_t> puffer(static_cast<std::size_t>(laenge) + 1);
    const int n = GetWindowTextW(hwnd, puffer.data(), laenge + 1);
    return Schmal(std::wstring_view(puffer.data(), static_cast<std::size_t>(n > 0 ? n : 0)));
}

RECT Ort(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    if (HWND eltern = (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) ? GetParent(hwnd) : nullptr)
        MapWindowPoints(HWND_DESKTOP, eltern, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::wstring Zeilen(std::string_view text, bool striche) {
    const std::wstring w = Breit(text);
    std::wstring ergebnis;
    for (std::size_t i = 0; i < w.size(); ++i) {
        const wchar_t c = w[i];
        if (c == L'\r' && i + 1 < w.size() && w[i + 1] == L'\n') continue;  // the LF follows
        if (c == L'\r' || c == L'\n' || (striche && c == L'|')) ergebnis += L"\r\n";
        else ergebnis += c;
    }
    return ergebnis;
}

}  // namespace kaldorin::w32
