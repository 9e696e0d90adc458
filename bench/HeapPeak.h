#pragma once
// The peak of heap memory that a piece of work takes, for the benchmarks that report it beside
// their time. Every malloc of the process is counted (the C library's allocator is wrapped), so
// the work and its reference are measured alike. Counting runs only while a THeapPeak lives, so
// the other benchmarks run without its cost; blocks allocated before it began and freed while it
// lives make the count fall below its start.
#include <cstddef>

namespace quillon {

class THeapPeak {
public:
    THeapPeak();
    ~THeapPeak();
    THeapPeak(const THeapPeak&) = delete;
    THeapPeak& operator=(const THeapPeak&) = delete;

    // The most bytes in use at once since construction, above what was in use then.
    std::ptrdiff_t Bytes() const;

private:
    std::ptrdiff_t FStart;
};

} // namespace quillon
