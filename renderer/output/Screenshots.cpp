#include "renderer/output/Screenshots.h"

#include "renderer/output/FramePng.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#ifndef O_BINARY
#define O_BINARY 0 // only Windows tells text files from binary ones
#endif

namespace {

std::string numberedName(const std::string& prefix, int number) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%04d", number);
    return prefix + digits + ".png";
}

} // namespace

bool Screenshots::save(const PackedPixel* pixels, std::int32_t width, std::int32_t height,
                       std::string& message) {
    for (; next_ <= mostNumber; ++next_) {
        const std::string name = numberedName(prefix_, next_);
        // Created only if it does not exist: taking a name and checking it is one step.
        const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_BINARY, 0644);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            message = "cannot create " + name + ": " + std::strerror(errno);
            return false;
        }
        std::FILE* file = fdopen(fd, "wb");
        if (file == nullptr) {
            message = "cannot write " + name + ": " + std::strerror(errno);
            close(fd);
            std::remove(name.c_str());
            return false;
        }
        if (!writeFramePngTo(file, pixels, width, height)) {
            message = "cannot write " + name;
            std::remove(name.c_str());
            return false;
        }
        ++next_;
        message = name;
        return true;
    }
    message = "every name up to " + numberedName(prefix_, mostNumber) + " is taken";
    return false;
}
