#pragma once
// A progress bar on the terminal, for work that takes more than a moment: it
// appears only after half a second and only when stderr is a terminal.

#include <chrono>
#include <cstdint>
#include <string>

namespace kaldorin::pack {

class Fortschritt {
public:
    explicit Fortschritt(bool erlaubt);
    ~Fortschritt();

    // A new piece of work of `gesamt` bytes, shown as `was`.
    void Beginnen(const std::string& was, std::uint64_t gesamt);
    void Weiter(std::uint64_t bytes);
    // Clears the bar so that the next line of output starts clean.
    void Beenden();

private:
    void Zeichnen();
    bool erlaubt_;
    bool sichtbar_ = false;
    std::string was_;
    std::uint64_t gesamt_ = 0;
    std::uint64_t erledigt_ = 0;
    std::chrono::steady_clock::time_point beginn_;
    std::chrono::steady_clock::time_point gezeichnet_;
};

}  // namespace kaldorin::pack
