#include "support/HeapReuse.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void KeepFreedMemoryForReuse()
{
#if defined(__GLIBC__)
    // Blocks up to 64 MB come from the heap rather than from pages of their own, and up to
    // 128 MB freed at the heap's top stay there; beyond that the heap gives memory back to the
    // system as before.
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 128 << 20);
#endif
}
