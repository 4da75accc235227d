#pragma once
// Numbered files on POSIX: reading, the sound write (temporary file beside the
// target, flushed and renamed over it when complete) and unpacking. Paths here are
// host paths; PosixHost maps the program's Windows paths before calling in.
//
// Every fault throws Laufzeitfehler with a German sentence naming the file.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace kaldorin {

// Removes from `hostOrdner` the temporary files that writes of this class left when
// their process died (killed, crashed); a live writer's file stays. OpenWrite does the
// same for the temporary files of its own target.
void VerwaisteTempDateienEntfernen(const std::string& hostOrdner);

class NummerierteDateien {
public:
    // The two calls that end a write before its rename: flushing the data and closing
    // the file; `flush` also flushes the folders, and a large file's data every few MiB
    // while Unpack writes it. Empty: the system's fsync and close.
    // A test puts in one that fails or counts.
    struct Abschluss {
        int (*flush)(int fd) = nullptr;
        int (*schliessen)(int fd) = nullptr;
    };

    NummerierteDateien();
    explicit NummerierteDateien(Abschluss abschluss);
    ~NummerierteDateien();  // discards every write not closed, then OrdnerSichern
    NummerierteDateien(const NummerierteDateien&) = delete;
    NummerierteDateien& operator=(const NummerierteDateien&) = delete;

    // An ordinary file, opened for reading from its start; with `teil`, only that
    // range of it, read as if it were the whole file (a packed file inside a program
    // that carries its medium).
    int OpenRead(const std::string& hostPath, std::optional<ByteRange> teil = std::nullopt);
    // Decides at once whether the target can be written, judged by its mode bits as
    // well as by the system, so that a read-only file or folder counts as such even
    // for the superuser: not when its folder is missing or not writable, a folder or
    // anything but an ordinary file has the name, or the file is read-only. Then
    // removes the stale temporary files of the target and creates its own beside it,
    // locked until the write is completed or thrown away.
    int OpenWrite(const std::string& hostPath);
    std::uint64_t Length(int file);
    // Exactly `count` bytes from the current position; throws when fewer are left.
    std::vector<std::uint8_t> Read(int file, std::size_t count);
    void Write(int file, std::span<const std::uint8_t> bytes);
    // For a written file: flush, rename over the target. The number is released even
    // when this throws; the target then stays as it was and the temporary file is gone.
    // A write that failed earlier is never completed. The folder is flushed later, by
    // OrdnerSichern: once for all the files written into it.
    void Close(int file);
    // Makes the renames of the files closed so far durable: flushes each of their
    // folders once. The host calls it before the settings record anything, and it runs
    // when this object ends. A folder that cannot be flushed (some file systems refuse)
    // is no failure: the files in it are complete already.
    void OrdnerSichern();
    // Releases the number; a write is thrown away with its temporary file.
    void Discard(int file);
    // Reads the ranges of `source` in buffered pieces and writes the content to
    // `target`, decoding on this thread while a second one writes. On any fault the
    // target is marked failed, so Close cannot complete it.
    void Unpack(int source, std::span<const ByteRange> stream, int target);

private:
    struct Datei;
    Datei& Finden(int file);
    Datei& Lesedatei(int file);
    Datei& Schreibdatei(int file);
    Abschluss abschluss_;
    std::map<int, std::unique_ptr<Datei>> offen_;
    int naechste_ = 1;
    std::set<std::string> ungesichert_;  // folders with renames not yet flushed
};

}  // namespace kaldorin
