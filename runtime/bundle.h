#pragma once
// A setup program that carries its medium: the packed files appended to the program,
// with a table of contents and a SHA-256 of the whole payload (docs/bundle.md). The
// program finds its payload through a locator inside its own data, which the packer
// fills in and which a code signature added later leaves where it is; the signature's
// certificate table may follow the payload. Portable: the bytes come in through a
// reader, the hash through Sha256 (runtime/sha256.h).
//
// Every fault is a Laufzeitfehler with a German sentence.

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/runtime.h"

namespace kaldorin {

class Sha256;

// The locator: 16 bytes of mark, then the payload's offset in the file and its length
// (both 8 bytes, little-endian). The program holds it with offset and length 0; the
// packer finds the mark in the program's bytes and writes the two numbers behind it.
// The mark must stand in the program exactly once: only the locator itself spells it
// there (app/bundle_locator.cpp); the packer and the tests use this constant.
inline constexpr std::size_t kBundleLocatorSize = 32;
inline constexpr std::string_view kBundleLocatorMark{"KALDORIN\x1a" "BUNDLE\x01", 16};

// The payload begins with this mark.
inline constexpr std::string_view kBundleMark{"KLDBNDL\x01", 8};
inline constexpr std::size_t kBundleHashSize = 32;
// Limits of the table of contents (a name is a file name of the medium): the whole
// table fits in the first MiB of the payload.
inline constexpr std::size_t kBundleMaxEntries = 1024;
inline constexpr std::size_t kBundleMaxName = 255;
// Whether `name` can stand in the table: not empty, at most kBundleMaxName bytes, and
// neither a separator, a drive colon nor a NUL in it.
bool IsBundleName(std::string_view name);

// One packed file in the payload; the offset counts from the start of the file.
struct BundleEntry {
    std::string name;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

// What a program's payload holds, once checked: the program file and its packed files.
struct Bundle {
    std::string hostPath;  // the program file, as the host names it
    std::vector<BundleEntry> entries;
};

// The payload's place from a locator's bytes (its mark is not looked at); nullopt when
// the program carries none.
std::optional<ByteRange> ReadBundleLocator(std::span<const std::uint8_t, kBundleLocatorSize> locator);

// The table of contents for files of these names and lengths, laid out one after the
// other behind it in this order; fills in each entry's offset (from the payload's start).
std::vector<std::uint8_t> MakeBundleContents(std::vector<BundleEntry>& entries);

// Fills `into` with the file's bytes from `offset` on; throws when it cannot.
using BundleReader = std::function<void(std::uint64_t offset, std::span<std::uint8_t> into)>;

// Checks the payload at `payload` of a file of `fileLength` bytes, reading it piece by
// piece: it lies inside the file, its SHA-256 matches the one at its end, and its
// table of contents is sound (names unique without regard to case, every file inside
// the payload). Returns the entries with offsets from the start of the file. `hash`:
// the platform's SHA-256 (runtime/sha256.h), fresh.
std::vector<BundleEntry> CheckBundle(std::uint64_t fileLength, ByteRange payload,
                                     const BundleReader& read, Sha256& hash);

// The program file as a folder of its packed files, under its own Windows path.
class BundleFolder {
public:
    BundleFolder() = default;
    BundleFolder(std::string windowsPath, Bundle bundle);

    bool Present() const { return !windowsPath_.empty(); }
    const std::string& WindowsPath() const { return windowsPath_; }
    const std::string& HostPath() const { return bundle_.hostPath; }
    // Whether `path` names the program itself (without regard to case, a trailing
    // backslash allowed).
    bool IsFolder(std::string_view path) const;
    // The packed file `path` names (the program's path, one or more backslashes, a
    // name of the table), or null.
    const BundleEntry* Member(std::string_view path) const;

    // A directory search's first step, for the program itself as a folder: its name when
    // folders are asked for and `pattern` names the program; nullopt lets the host search
    // the disk. That hit is the search's only entry: FindNext ends it (true when the
    // search was ours), Found says whether it is the current entry.
    std::optional<std::string> FindFirst(std::string_view pattern, bool folders);
    bool FindNext() { return std::exchange(found_, false); }
    bool Found() const { return found_; }

private:
    std::string windowsPath_;
    Bundle bundle_;
    bool found_ = false;
};

}  // namespace kaldorin
