#include "gfx/Unfilled.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23  // Linux 5.14
#endif

void ReadyPages(void* p, size_t bytes) {
    static const uintptr_t page = static_cast<uintptr_t>(sysconf(_SC_PAGESIZE));
    const uintptr_t start = (reinterpret_cast<uintptr_t>(p) + page - 1) & ~(page - 1);
    const uintptr_t end = (reinterpret_cast<uintptr_t>(p) + bytes) & ~(page - 1);
    // Only worth a call for a few pages; an older system refuses it, and the
    // pages are then made ready as they are written.
    if (end > start + 4 * page) madvise(reinterpret_cast<void*>(start), end - start, MADV_POPULATE_WRITE);
}
