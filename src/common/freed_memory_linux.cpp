#include "common/freed_memory.h"

#include <malloc.h>

namespace sorvane {

namespace {

// Blocks below this come from the heap, where a freed one can be reused,
// rather than from a mapping of their own that goes back when freed.
constexpr int kOwnMappingFrom = 16 << 20;
// Free memory at the top of a heap goes back to the system only beyond this.
constexpr int kHandBackBeyond = 64 << 20;

}  // namespace

void KeepFreedMemoryForReuse() {
    // A refusal only leaves the allocator as it was.
    mallopt(M_MMAP_THRESHOLD, kOwnMappingFrom);
    mallopt(M_TRIM_THRESHOLD, kHandBackBeyond);
}

}  // namespace sorvane
