#include "runtime/host/posix/verknuepfung.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "runtime/host/posix/fehler.h"
#include "runtime/host/posix/pfade.h"
#include "runtime/host/posix/text.h"

namespace kaldorin::posix {
namespace {

// Link flags of the header.
constexpr std::uint32_t kHasLinkInfo = 0x00000002;
constexpr std::uint32_t kHasWorkingDir = 0x00000010;
constexpr std::uint32_t kIsUnicode = 0x00000080;
// LinkInfo flags.
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 0x00000001;
constexpr std::uint32_t kDriveFixed = 3;
constexpr std::uint32_t kShowNormal = 1;

class Puffer {
public:
    void U16(std::uint16_t v) {
        for (int i = 0; i < 2; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void U32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void Null(std::size_t n) { bytes_.insert(bytes_.end(), n, 0); }
    void Bytes(std::string_view s) { bytes_.insert(bytes_.end(), s.begin(), s.end()); }
    void Utf16(const std::u16string& s) {
        for (char16_t c : s) U16(c);
    }
    void Anhaengen(const Puffer& p) { bytes_.insert(bytes_.end(), p.bytes_.begin(), p.bytes_.end()); }
    std::uint32_t Groesse() const { return static_cast<std::uint32_t>(bytes_.size()); }
    std::vector<std::uint8_t>& Inhalt() { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
};

void Kopf(Puffer& p, std::uint32_t flags, const LinkZiel& ziel) {
    static constexpr std::uint8_t kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                                    0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    p.U32(0x4C);  // HeaderSize
    for (std::uint8_t b : kLinkClsid) p.Inhalt().push_back(b);
    p.U32(flags);
    p.U32(ziel.attribute);
    p.Null(3 * 8);  // creation, access and write time: unknown
    p.U32(ziel.groesse);
    p.U32(0);            // IconIndex
    p.U32(kShowNormal);  // ShowCommand
    p.U16(0);            // HotKey
    p.Null(2 + 4 + 4);   // reserved
}

void LinkInfo(Puffer& p, const std::string& pfad) {
    bool nurAscii = true;
    for (char c : pfad) nurAscii = nurAscii && static_cast<unsigned char>(c) < 0x80;
    bool vollstaendig = true;
    const std::string ansi = Windows1252(pfad, vollstaendig);
    const std::uint32_t kopfgroesse = nurAscii ? 0x1C : 0x24;

    Puffer volume;
    volume.U32(0x11);        // VolumeIDSize: 16 bytes and the empty label
    volume.U32(kDriveFixed);
    volume.U32(0);           // DriveSerialNumber
    volume.U32(0x10);        // VolumeLabelOffset
    volume.Null(1);          // empty label

    const std::uint32_t volumeOffset = kopfgroesse;
    const std::uint32_t basisOffset = volumeOffset + volume.Groesse();
    const std::uint32_t suffixOffset = basisOffset + static_cast<std::uint32_t>(ansi.size()) + 1;
    const std::uint32_t basisUnicodeOffset = suffixOffset + 1;
    const std::uint32_t suffixUnicodeOffset =
        basisUnicodeOffset + 2 * (static_cast<std::uint32_t>(Utf16(pfad).size()) + 1);
    const std::uint32_t gesamt = nurAscii ? suffixOffset + 1 : suffixUnicodeOffset + 2;

    p.U32(gesamt);
    p.U32(kopfgroesse);
    p.U32(kVolumeIdAndLocalBasePath);
    p.U32(volumeOffset);
    p.U32(basisOffset);
    p.U32(0);  // CommonNetworkRelativeLinkOffset
    p.U32(suffixOffset);
    if (!nurAscii) {
        p.U32(basisUnicodeOffset);
        p.U32(suffixUnicodeOffset);
    }
    p.Anhaengen(volume);
    p.Bytes(ansi);
    p.Null(1);
    p.Null(1);  // CommonPathSuffix: empty
    if (!nurAscii) {
        p.Utf16(Utf16(pfad));
        p.U16(0);
        p.U16(0);  // CommonPathSuffixUnicode: empty
    }
}

void UnicodeText(Puffer& p, const std::string& text) {
    const std::u16string u = Utf16(text);
    p.U16(static_cast<std::uint16_t>(u.size()));
    p.Utf16(u);
}

}  // namespace

std::string LinkPfad(std::string_view ziel) {
    const WindowsTeile teile = ZerlegeWindowsPfad(ziel);
    std::string pfad{teile.laufwerk, ':', '\\'};
    for (std::size_t i = 0; i < teile.teile.size(); ++i) {
        pfad += (i ? "\\" : "") + teile.teile[i];
    }
    if (!GueltigesUtf8(pfad)) Fehler("Das Ziel der Verknüpfung ist kein gültiger UTF-8-Text.");
    if (Utf16(pfad).size() > 32000) Fehler("Das Ziel der Verknüpfung ist zu lang.");
    return pfad;
}

std::vector<std::uint8_t> LinkBytes(const LinkZiel& ziel) {
    const std::size_t schraeg = ziel.pfad.rfind('\\');
    std::string arbeitsordner = ziel.pfad.substr(0, schraeg);
    if (arbeitsordner.size() == 2) arbeitsordner += '\\';  // the drive root "C:\"
    const bool mitOrdner = schraeg != std::string::npos && schraeg + 1 < ziel.pfad.size();

    Puffer p;
    Kopf(p, kHasLinkInfo | kIsUnicode | (mitOrdner ? kHasWorkingDir : 0), ziel);
    LinkInfo(p, ziel.pfad);
    if (mitOrdner) UnicodeText(p, arbeitsordner);
    p.U32(0);  // TerminalBlock of the extra data
    return std::move(p.Inhalt());
}

void SchreibeDateiAtomar(const std::string& datei, const std::vector<std::uint8_t>& bytes) {
    std::string vorlage = datei + ".XXXXXX";
    const int fd = mkostemp(vorlage.data(), O_CLOEXEC);
    if (fd < 0) SystemFehler("Die Verknüpfung lässt sich nicht anlegen");
    int fehler = 0;
    std::size_t geschrieben = 0;
    while (fehler == 0 && geschrieben < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + geschrieben, bytes.size() - geschrieben);
        if (n < 0 && errno != EINTR) fehler = errno;
        if (n > 0) geschrieben += static_cast<std::size_t>(n);
    }
    const mode_t maske = umask(0);
    umask(maske);
    if (fehler == 0 && (fchmod(fd, 0666 & ~maske) != 0 || fsync(fd) != 0)) fehler = errno;
    if (close(fd) != 0 && fehler == 0) fehler = errno;
    if (fehler == 0 && rename(vorlage.c_str(), datei.c_str()) != 0) fehler = errno;
    if (fehler != 0) {
        unlink(vorlage.c_str());
        SystemFehler("Die Verknüpfung lässt sich nicht anlegen", fehler);
    }
}

}  // namespace kaldorin::posix
