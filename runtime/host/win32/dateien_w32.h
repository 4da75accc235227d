#pragma once
// Numbered files on Windows: reading, the sound write (a temporary file beside the
// target, flushed and moved over it only when complete) and unpacking into it.
// Paths are Windows paths, handed to the wide API as they are.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace kaldorin::w32 {

// Deletes from `ordner` the temporary files that writes of this class left when their
// process died; a live writer's file stays. OpenWrite does the same for its target's.
void VerwaisteTempDateienEntfernen(const std::string& ordner);

class Dateien {
public:
    Dateien();
    ~Dateien();  // throws away every write not closed
    Dateien(const Dateien&) = delete;
    Dateien& operator=(const Dateien&) = delete;

    // With `teil`, only that range of the file, read as if it were the whole file (a
    // packed file inside a program that carries its medium).
    int OpenRead(const std::string& pfad, std::optional<ByteRange> teil = std::nullopt);
    // Decides at once whether the target can be written: its folder exists, no folder
    // has its name, it is not read-only and no other program holds it (a running
    // program file). Then removes the stale temporary files of the target and creates
    // its own beside it, held open without sharing until the write ends.
    int OpenWrite(const std::string& pfad);
    std::uint64_t Length(int file);
    // Exactly `count` bytes from the current position; throws when fewer are left.
    std::vector<std::uint8_t> Read(int file, std::size_t count);
    void Write(int file, std::span<const std::uint8_t> bytes);
    // For a written file: flush, move over the target. The number is released even
    // when this throws; the target then stays as it was and the temporary file goes.
    void Close(int file);
    void Discard(int file);
    // Reads the ranges in buffered pieces and writes the content to `target`,
    // decoding on this thread while a second one writes; any fault marks the target
    // so that Close cannot complete it.
    void Unpack(int source, std::span<const ByteRange> stream, int target);

private:
    struct Datei;
    Datei& Finden(int file);
    Datei& Lesedatei(int file);
    Datei& Schreibdatei(int file);
    std::map<int, std::unique_ptr<Datei>> offen_;
    int naechste_ = 1;
};

}  // namespace kaldorin::w32
