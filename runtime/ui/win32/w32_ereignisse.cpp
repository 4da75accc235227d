// The message loop's side of the event step, and the run from start to end.
#include "runtime/ui/win32/win32_face.h"

#include "runtime/host/win32/windows_w32.h"
#include <objbase.h>

#include <fstream>
#include <iostream>

#include "runtime/ui/face_start.h"

namespace kaldorin::w32 {

void Win32Face::QuitPruefen() {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) run_.StopWith(static_cast<int>(msg.wParam));
}

void Win32Face::ProcessPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) run_.StopWith(static_cast<int>(msg.wParam));
        if (TasteBearbeiten(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Sleeps until a message arrives, and handles it; once the script is done, a person
// may go on until the hold time is up.
void Win32Face::WaitForUser() {
    if (script_) {
        const ULONGLONG jetzt = GetTickCount64();
        if (!haltenBis_) haltenBis_ = jetzt + static_cast<ULONGLONG>(halten_) * 1000u;
        if (jetzt >= *haltenBis_) {
            std::cerr << "kaldorin-setup: Die Haltezeit ist um, während das Programm auf den Benutzer wartet.\n";
            run_.StopWith(3);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(*haltenBis_ - jetzt), QS_ALLINPUT);
        ProcessPending();
        return;
    }
    MSG msg;
    if (!GetMessageW(&msg, nullptr, 0, 0)) run_.StopWith(static_cast<int>(msg.wParam));
    if (TasteBearbeiten(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

int Win32Face::Run(const std::function<void()>& programm) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int code = run_.Run(programm);
    for (auto& [handle, e] : elements_) {
        if (e.isWindow && e.open && e.hwnd && IsWindow(e.hwnd)) DestroyWindow(e.hwnd);
        e.open = false;
    }
    if (SUCCEEDED(com)) CoUninitialize();
    return code;
}

int RunWin32Face(const FaceOptions& options, Host& host, const std::function<void(Laufzeit)>& programm,
                 int halten) {
    std::optional<Script> script;
    std::ofstream transcriptDatei;
    if (!OpenScriptAndTranscript(options, script, transcriptDatei)) return 2;
    Win32Face face(options, host, std::move(script), transcriptDatei.is_open() ? &transcriptDatei : nullptr,
                   halten);
    return face.Run([&] { programm(Laufzeit{face, host}); });
}

}  // namespace kaldorin::w32
