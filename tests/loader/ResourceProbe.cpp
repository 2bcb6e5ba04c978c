#include "ResourceProbe.h"

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
// From the sanitizer runtime; its header does not ship with every compiler.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#elif defined(__GLIBC__)
#include <malloc.h>
#endif

#if defined(__linux__)
#include <dirent.h>

#include <fstream>
#include <string>
#endif

namespace resource_probe {

long long allocatedBytes() {
#if defined(__SANITIZE_ADDRESS__)
    return static_cast<long long>(__sanitizer_get_current_allocated_bytes());
#elif defined(__GLIBC__)
    return static_cast<long long>(mallinfo2().uordblks);
#else
    return -1;
#endif
}

long long allocatedBytesSlack() {
#if defined(__SANITIZE_ADDRESS__)
    return 0;
#else
    return 4096;
#endif
}

long openFileCount() {
#if defined(__linux__)
    DIR* dir = opendir("/proc/self/fd");
    if (dir == nullptr) {
        return -1;
    }
    long count = 0;
    while (readdir(dir) != nullptr) {
        ++count;
    }
    closedir(dir);
    return count;
#else
    return -1;
#endif
}

long long peakVirtualBytes() {
#if defined(__linux__)
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmPeak:") {
            long long kilobytes = -1;
            status >> kilobytes;
            return kilobytes * 1024;
        }
    }
#endif
    return -1;
}

} // namespace resource_probe
