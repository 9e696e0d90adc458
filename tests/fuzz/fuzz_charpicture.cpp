// Paletted loader and the character picture's strip, which read 8-bit BMP files by name.
#include "CharImages.h"

#include <sys/mman.h>
#include <unistd.h>

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quillon;
    const int fd = ::memfd_create("fuzz", 0);
    if (fd < 0) return 0;
    if (::write(fd, data, size) == static_cast<ssize_t>(size)) {
        const std::string name = "/proc/self/fd/" + std::to_string(fd);
        TPaletted8Bitmap bitmap;
        bitmap.LoadFromFile(name);
        TCharSoftRender picture;
        picture.LoadImage(name, nullptr);
    }
    ::close(fd);
    return 0;
}
