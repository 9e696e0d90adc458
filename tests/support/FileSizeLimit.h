// A file size limit for the length of a scope, so that a test can make a write fail as it would on a
// full disk. The signal that would end the process at the limit is ignored meanwhile, as the program
// itself ignores it, so the write fails with an error instead.
#pragma once

#include <csignal>
#include <sys/resource.h>

namespace quillon {

class TFileSizeLimit {
public:
    explicit TFileSizeLimit(rlim_t Bytes) {
        ::getrlimit(RLIMIT_FSIZE, &Old);
        OldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = Old;
        small.rlim_cur = Bytes;
        ::setrlimit(RLIMIT_FSIZE, &small);
    }
    ~TFileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &Old);
        std::signal(SIGXFSZ, OldHandler);
    }
    TFileSizeLimit(const TFileSizeLimit&) = delete;
    TFileSizeLimit& operator=(const TFileSizeLimit&) = delete;

private:
    rlimit Old{};                      // the limit before the scope
    void (*OldHandler)(int) = SIG_DFL; // SIGXFSZ's handler before the scope
};

} // namespace quillon
