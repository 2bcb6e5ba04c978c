#pragma once

#include <cstddef>

// Counts what a piece of code may leave behind: heap bytes and open files.
// Each returns -1 where the platform gives no way to count.
namespace resource_probe {

long long allocatedBytes();
// How far allocatedBytes may drift without a leak. The sanitizer counts exactly;
// glibc reports small freed chunks held in its per-thread caches as still in use,
// which hides leaks of a few small blocks but not of pixel buffers.
long long allocatedBytesSlack();
long openFileCount();
// The most address space the process has ever reserved.
long long peakVirtualBytes();

} // namespace resource_probe
