// The check of the medium a program carries, on POSIX: the payload read with pread in
// pieces, never whole, and nothing written.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "runtime/host/posix/fehler.h"
#include "runtime/host/posix/posix_host.h"
#include "runtime/sha256.h"

namespace kaldorin {

namespace {

struct Deskriptor {
    int fd;
    ~Deskriptor() {
        if (fd >= 0) close(fd);
    }
};

[[noreturn]] void Unlesbar(const std::string& pfad, int fehler) {
    throw Laufzeitfehler("Das Setup-Programm \"" + pfad + "\" kann sich selbst nicht lesen: " +
                         posix::Grund(fehler));
}

}  // namespace

std::optional<Bundle> CheckBundleFile(const std::string& hostPath,
                                      std::span<const std::uint8_t, kBundleLocatorSize> locator) {
    const std::optional<ByteRange> ort = ReadBundleLocator(locator);
    if (!ort) return std::nullopt;
    const Deskriptor d{open(hostPath.c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat st {};
    if (d.fd < 0 || fstat(d.fd, &st) != 0) Unlesbar(hostPath, errno);
    posix_fadvise(d.fd, static_cast<off_t>(ort->offset), 0, POSIX_FADV_SEQUENTIAL);
    Bundle b;
    b.hostPath = hostPath;
    b.entries = CheckBundle(static_cast<std::uint64_t>(st.st_size), *ort,
                            [&](std::uint64_t offset, std::span<std::uint8_t> ziel) {
                                while (!ziel.empty()) {
                                    const ssize_t n = pread(d.fd, ziel.data(), ziel.size(), static_cast<off_t>(offset));
                                    if (n < 0 && errno == EINTR) continue;
                                    if (n < 0) Unlesbar(hostPath, errno);
                                    if (n == 0) Unlesbar(hostPath, EIO);
                                    ziel = ziel.subspan(static_cast<std::size_t>(n));
                                    offset += static_cast<std::uint64_t>(n);
                                }
                            },
                            *MakeSha256());
    return b;
}

std::optional<Bundle> CheckOwnBundle(std::span<const std::uint8_t, kBundleLocatorSize> locator) {
    if (!ReadBundleLocator(locator)) return std::nullopt;
    char puffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", puffer, sizeof puffer - 1);
    if (n <= 0) Unlesbar("/proc/self/exe", errno);
    return CheckBundleFile(std::string(puffer, static_cast<std::size_t>(n)), locator);
}

}  // namespace kaldorin
