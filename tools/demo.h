#pragma once
// The demo application: plausible, deterministic content for every file of the
// medium list, so that a medium can be built and installed without the real product.

#include <cstdint>
#include <string_view>
#include <vector>

namespace kaldorin::pack {

// The content of the installed file `ziel` (a target name of Medium()). `massstab`
// scales every size; 1 gives a demo of about 6 MB. The same arguments always give
// the same bytes.
std::vector<std::uint8_t> DemoInhalt(std::string_view ziel, double massstab);

}  // namespace kaldorin::pack
