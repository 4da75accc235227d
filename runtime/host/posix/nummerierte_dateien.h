#pragma once
// Numbered files on POSIX: reading, the sound write (temporary file beside the
// target, flushed and renamed over it when complete) and unpacking. Paths here are
// host paths; PosixHost maps the program's Windows paths before calling in.

#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "runtime/runtime.h"

namespace kaldorin {

class NummerierteDateien {
public:
    NummerierteDateien();
    ~NummerierteDateien();  // discards every write not closed
    NummerierteDateien(const NummerierteDateien&) = delete;
    NummerierteDateien& operator=(const NummerierteDateien&) = delete;

    int OpenRead(const std::string& hostPath);
    int OpenWrite(const std::string& hostPath);
    std::uint64_t Length(int file);
    std::vector<std::uint8_t> Read(int file, std::size_t count);
    void Write(int file, std::span<const std::uint8_t> bytes);
    void Close(int file);
    void Discard(int file);
    void Unpack(int source, std::span<const ByteRange> stream, int target);

private:
    struct Datei;
    std::map<int, std::unique_ptr<Datei>> offen_;
    int naechste_ = 1;
};

}  // namespace kaldorin
