// The event-loop step, the queue of user actions waiting for their handlers, and the
// run from start to end.
#include "runtime/ui/win32/win32_face.h"

#include "runtime/host/win32/windows_w32.h"
#include <objbase.h>

#include <fstream>
#include <iostream>

#include "runtime/ui/face_start.h"
#include "runtime/ui/script_player.h"

namespace kaldorin::w32 {

void Win32Face::Melden(std::string ereignis) { ereignisse_.push_back(std::move(ereignis)); }

// Ends the run when WM_QUIT came: whichever loop met it, it is never lost.
void Win32Face::QuitPruefen() {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) lauf_.StopWith(static_cast<int>(msg.wParam));
}

void Win32Face::AnstehendesBearbeiten() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) lauf_.StopWith(static_cast<int>(msg.wParam));
        if (TasteBearbeiten(msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

// Sleeps until a message arrives, and handles it.
void Win32Face::Warten() {
    MSG msg;
    if (!GetMessageW(&msg, nullptr, 0, 0)) lauf_.StopWith(static_cast<int>(msg.wParam));
    if (TasteBearbeiten(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Win32Face::HandlerAusfuehren() {
    const std::string ereignis = std::move(ereignisse_.front());
    ereignisse_.pop_front();
    CallHandler(handler_, ereignis, tiefe_);
}

void Win32Face::EventStep() {
    lauf_.ThrowIfStopping();
    // The handler before has returned: the focus goes where it belongs before any key
    // that waits is handled.
    if (tiefe_ == 0) FokusPruefen();
    AnstehendesBearbeiten();
    if (tiefe_ > 0) {
        // Inside a handler: what is pending, and never a wait.
        if (!ereignisse_.empty()) HandlerAusfuehren();
        return;
    }
    // At top level: sleep in the message loop until a user action asks for a handler.
    if (beimWarten_) beimWarten_();
    while (ereignisse_.empty()) {
        if (skript_ && !skript_->Empty()) {
            NaechsteAktion();
            AnstehendesBearbeiten();
        } else if (skript_ && halten_ <= 0) {
            lauf_.ScriptEnded("the program waits for the user");
        } else if (skript_) {
            // The script is done; a person may go on until the hold time is up.
            const ULONGLONG jetzt = GetTickCount64();
            if (!haltenBis_) haltenBis_ = jetzt + static_cast<ULONGLONG>(halten_) * 1000u;
            if (jetzt >= *haltenBis_) {
                std::cerr << "kaldorin-setup: the hold time is up while the program waits for the user\n";
                lauf_.StopWith(3);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(*haltenBis_ - jetzt), QS_ALLINPUT);
            AnstehendesBearbeiten();
        } else {
            Warten();
        }
    }
    tastatur_.Bekommen(Tastenfokus());
    HandlerAusfuehren();
}

int Win32Face::Run(const std::function<void()>& programm) {
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const int code = lauf_.Run(programm);
    for (auto& [handle, e] : elemente_) {
        if (e.istFenster && e.offen && e.hwnd && IsWindow(e.hwnd)) DestroyWindow(e.hwnd);
        e.offen = false;
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
