#include "runtime/host/win32/verknuepfung_w32.h"

#include "runtime/host/win32/windows_w32.h"
#include <objbase.h>
#include <shlobj.h>

#include "runtime/host/win32/breit.h"
#include "runtime/host/win32/fehler_w32.h"

namespace kaldorin::w32 {

namespace {

template <typename T>
class ComZeiger {
public:
    ComZeiger() = default;
    ~ComZeiger() {
        if (p_) p_->Release();
    }
    ComZeiger(const ComZeiger&) = delete;
    ComZeiger& operator=(const ComZeiger&) = delete;
    T** Adresse() { return &p_; }
    T* operator->() const { return p_; }

private:
    T* p_ = nullptr;
};

// COM for this thread, once; the shell link lives in an apartment.
void ComBereit() {
    static const bool bereit = [] {
        const HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        return SUCCEEDED(hr) || hr == RPC_E_CHANGED_MODE;
    }();
    if (!bereit) Fehler("Die Verknüpfungen des Systems sind nicht verfügbar.");
}

std::string OrdnerVon(const std::string& pfad) {
    const auto schnitt = pfad.find_last_of('\\');
    if (schnitt == std::string::npos) return "";
    if (schnitt == 2 && pfad[1] == ':') return pfad.substr(0, 3);
    return pfad.substr(0, schnitt);
}

[[noreturn]] void LinkFehler(const std::string& pfad, HRESULT hr) {
    SystemFehler("Die Verknüpfung " + Anzeige(pfad) + " lässt sich nicht schreiben",
                 HRESULT_FACILITY(hr) == FACILITY_WIN32 ? HRESULT_CODE(hr) : static_cast<unsigned long>(hr));
}

}  // namespace

void VerknuepfungSchreiben(const std::string& pfad, const std::string& ziel) {
    const std::string ordner = OrdnerVon(pfad);
    const DWORD o = GetFileAttributesW(Breit(ordner).c_str());
    if (ordner.empty() || o == INVALID_FILE_ATTRIBUTES || !(o & FILE_ATTRIBUTE_DIRECTORY))
        Fehler("Der Ordner für die Verknüpfung " + Anzeige(pfad) + " ist nicht vorhanden.");
    const DWORD a = GetFileAttributesW(Breit(pfad).c_str());
    if (a != INVALID_FILE_ATTRIBUTES) {
        if (a & FILE_ATTRIBUTE_DIRECTORY) Fehler(Anzeige(pfad) + " ist ein Ordner.");
        if (a & FILE_ATTRIBUTE_READONLY) Fehler("Die Datei " + Anzeige(pfad) + " ist schreibgeschützt.");
    }
    ComBereit();
    ComZeiger<IShellLinkW> link;
    HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                  reinterpret_cast<void**>(link.Adresse()));
    if (FAILED(hr)) LinkFehler(pfad, hr);
    if (FAILED(hr = link->SetPath(Breit(ziel).c_str()))) LinkFehler(pfad, hr);
    const std::string arbeitsordner = OrdnerVon(ziel);
    if (!arbeitsordner.empty()) link->SetWorkingDirectory(Breit(arbeitsordner).c_str());
    ComZeiger<IPersistFile> datei;
    if (FAILED(hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(datei.Adresse()))))
        LinkFehler(pfad, hr);
    const std::wstring temp = Breit(pfad + ".kaldorin-" + std::to_string(GetCurrentProcessId()) + ".tmp");
    if (FAILED(hr = datei->Save(temp.c_str(), TRUE))) {
        DeleteFileW(temp.c_str());
        LinkFehler(pfad, hr);
    }
    if (!MoveFileExW(temp.c_str(), Breit(pfad).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD code = GetLastError();
        DeleteFileW(temp.c_str());
        SystemFehler("Die Verknüpfung " + Anzeige(pfad) + " lässt sich nicht schreiben", code);
    }
}

}  // namespace kaldorin::w32
