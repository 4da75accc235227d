#include "runtime/grosser_speicher.h"

#include <cstdlib>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace kaldorin {

namespace {
constexpr std::size_t kHugePage = std::size_t{2} << 20;
constexpr std::size_t kAbHier = std::size_t{1} << 20;
}  // namespace

void* GrossNehmen(std::size_t n) {
#ifdef __linux__
    if (n >= kAbHier && n <= static_cast<std::size_t>(-1) - kHugePage) {
        const std::size_t rund = (n + kHugePage - 1) / kHugePage * kHugePage;
        void* p = std::aligned_alloc(kHugePage, rund);
        // Only advice: without huge pages the block is ordinary memory.
        if (p != nullptr) madvise(p, rund, MADV_HUGEPAGE);
        return p;
    }
#endif
    return std::malloc(n == 0 ? 1 : n);
}

void GrossFreigeben(void* p) { std::free(p); }

}  // namespace kaldorin
