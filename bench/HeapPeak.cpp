#include "HeapPeak.h"

#include <malloc.h>

#include <atomic>

namespace {

std::atomic<bool> HeapCounting{false};
std::atomic<std::ptrdiff_t> HeapInUse{0};
std::atomic<std::ptrdiff_t> HeapPeak{0};

} // namespace

extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);

namespace {
void* Counted(void* P) {
    if (P && HeapCounting.load(std::memory_order_relaxed)) {
        const std::ptrdiff_t now = HeapInUse += static_cast<std::ptrdiff_t>(malloc_usable_size(P));
        for (std::ptrdiff_t peak = HeapPeak; now > peak && !HeapPeak.compare_exchange_weak(peak, now);) {
        }
    }
    return P;
}
void Uncount(void* P) {
    if (P && HeapCounting.load(std::memory_order_relaxed))
        HeapInUse -= static_cast<std::ptrdiff_t>(malloc_usable_size(P));
}
} // namespace

void* malloc(size_t Size) { return Counted(__libc_malloc(Size)); }
void* calloc(size_t Count, size_t Size) { return Counted(__libc_calloc(Count, Size)); }
void* realloc(void* P, size_t Size) {
    Uncount(P);
    return Counted(__libc_realloc(P, Size));
}
void free(void* P) {
    Uncount(P);
    __libc_free(P);
}
}

namespace quillon {

THeapPeak::THeapPeak() : FStart(HeapInUse.load()) {
    HeapPeak = FStart;
    HeapCounting = true;
}

THeapPeak::~THeapPeak() { HeapCounting = false; }

std::ptrdiff_t THeapPeak::Bytes() const { return HeapPeak.load() - FStart; }

} // namespace quillon
