#include "common/freed_memory.h"

namespace sorvane {

// The Windows heap keeps freed blocks for reuse by itself.
void KeepFreedMemoryForReuse() {}

}  // namespace sorvane
