#pragma once
// The shell allocator: every identifier list and every text the shell hands out comes
// from here and goes back here. It knows the size of each live block, so list helpers
// can check a list against the block that holds it, and it counts live blocks, so
// tests can see that everything handed out was given back.
#include "platform/shell/shelltypes.h"

#include <cstddef>

namespace platform::shell {

class IMalloc : public IUnknown {
public:
    // A zero-filled block; null for a size of 0 or when memory runs out.
    void* Alloc(size_t size);
    void Free(void* block);
    // The block resized, its new bytes zero; null (and the old block kept) on failure.
    void* Realloc(void* block, size_t size);
    // The size of a live block of this allocator; -1 for anything else.
    int64_t GetSize(const void* block) const;
    // 1 for a live block of this allocator, 0 otherwise.
    int DidAlloc(const void* block) const { return GetSize(block) >= 0 ? 1 : 0; }
    // The bytes from address to the end of the live block holding it; -1 when no live
    // block of this allocator holds it.
    int64_t BytesAvailable(const void* address) const;
    // Number of live blocks.
    int64_t LiveBlocks() const;

    static IMalloc& Instance();

protected:
    bool Offers(REFIID riid) const override;
};

// Hands out the process's allocator with an added reference.
HRESULT SHGetMalloc(IMalloc** malloc);

} // namespace platform::shell
