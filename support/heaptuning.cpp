#include "support/heaptuning.h"

#include <cstdlib> // defines __GLIBC__ when the C library is glibc
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#if defined(__SANITIZE_ADDRESS__)
#define AMF_OWN_ALLOCATOR 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer) || __has_feature(thread_sanitizer)
#define AMF_OWN_ALLOCATOR 1
#endif
#endif

bool TuneHeapForManySmallBlocks() {
#if defined(__GLIBC__) && !defined(AMF_OWN_ALLOCATOR)
    // mallopt returns 1 on success. 0 is the largest block size served from the fast bins: none.
    return mallopt(M_MXFAST, 0) == 1;
#else
    return false;
#endif
}
