// Global memory blocks, for the layer's own users (streams on HGLOBAL).
#pragma once

#include <windef.h>

namespace vk::kernel {

// Resizes a block's contents without the GlobalReAlloc rules about locks:
// growth keeps spare room so that many small appends stay cheap, while
// GlobalSize still reports exactly the size asked for. False when out of
// memory or hMem is not a global block.
bool resizeGlobal(HGLOBAL hMem, size_t bytes);

} // namespace vk::kernel
