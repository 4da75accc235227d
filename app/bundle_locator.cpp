#include "app/bundle_locator.h"

#include <algorithm>

namespace kaldorin {

namespace {

// Spelt out byte by byte: a string constant would put the mark into the program a
// second time. Volatile, so that the compiler reads what the file holds instead of
// the zeros it was given here.
constexpr std::uint8_t M(char c) { return static_cast<std::uint8_t>(c); }
[[gnu::used]] volatile std::uint8_t gOrt[kBundleLocatorSize] = {
    M('K'), M('A'), M('L'), M('D'), M('O'), M('R'), M('I'), M('N'),
    0x1a,   M('B'), M('U'), M('N'), M('D'), M('L'), M('E'), 0x01};

constexpr bool MarkeStimmt() {
    const std::uint8_t marke[] = {M('K'), M('A'), M('L'), M('D'), M('O'), M('R'), M('I'), M('N'),
                                  0x1a,   M('B'), M('U'), M('N'), M('D'), M('L'), M('E'), 0x01};
    return std::equal(std::begin(marke), std::end(marke), kBundleLocatorMark.begin(),
                      [](std::uint8_t a, char b) { return a == static_cast<std::uint8_t>(b); });
}
static_assert(MarkeStimmt());

}  // namespace

std::array<std::uint8_t, kBundleLocatorSize> OwnBundleLocator() {
    std::array<std::uint8_t, kBundleLocatorSize> ort{};
    for (std::size_t i = 0; i < ort.size(); ++i) ort[i] = gOrt[i];
    return ort;
}

}  // namespace kaldorin
