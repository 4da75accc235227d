#pragma once
// Memory for the large buffers of the expansion: the decoder's window and the 1 MiB
// pieces. Each is touched from end to end soon after it is made, and on a virtual
// machine the first touch of a 4 KiB page can cost some 10 microseconds; huge pages
// (Linux, where the system gives them) take one page fault per 2 MiB instead. A block
// of 1 MiB or more is placed at a 2 MiB boundary for that; smaller ones and other
// systems get ordinary memory.

#include <cstddef>
#include <new>

namespace kaldorin {

// `n` bytes, uninitialised; null when there is no memory.
void* GrossNehmen(std::size_t n);
// Gives back what GrossNehmen returned; null is allowed.
void GrossFreigeben(void* p);

// For containers of large buffers.
template <class T>
struct GrossAllokator {
    using value_type = T;
    GrossAllokator() = default;
    template <class U>
    GrossAllokator(const GrossAllokator<U>&) {}
    T* allocate(std::size_t n) {
        if (n > static_cast<std::size_t>(-1) / sizeof(T)) throw std::bad_array_new_length();
        void* p = GrossNehmen(n * sizeof(T));
        if (p == nullptr) throw std::bad_alloc();
        return static_cast<T*>(p);
    }
    void deallocate(T* p, std::size_t) { GrossFreigeben(p); }
    bool operator==(const GrossAllokator&) const { return true; }
};

}  // namespace kaldorin
