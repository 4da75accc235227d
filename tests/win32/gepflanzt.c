/* A DLL that another download left beside the setup program. Loaded, it leaves a
   marker beside itself: its own name + ".geladen". */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE modul, DWORD grund, LPVOID reserviert) {
    (void)reserviert;
    if (grund == DLL_PROCESS_ATTACH) {
        wchar_t pfad[MAX_PATH * 4];
        const DWORD n = GetModuleFileNameW(modul, pfad, MAX_PATH * 4 - 16);
        if (n > 0) {
            lstrcpyW(pfad + n, L".geladen");
            CloseHandle(CreateFileW(pfad, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
        }
    }
    return TRUE;
}
