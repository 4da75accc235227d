#pragma once
// The locator of the medium this program may carry (runtime/bundle.h): 32 bytes in the
// program's own data, which `kaldorin-pack bundle` fills in. Linked into the setup
// program alone, so that its mark stands in the program file exactly once.

#include <array>
#include <cstdint>

#include "runtime/bundle.h"

namespace kaldorin {

// The locator as the program file holds it.
std::array<std::uint8_t, kBundleLocatorSize> OwnBundleLocator();

}  // namespace kaldorin
