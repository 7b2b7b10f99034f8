#include "platform/shell/shellmalloc.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <mutex>
#include <map>

namespace platform::shell {

namespace {

struct TBlockTable {
    mutable std::mutex Lock;
    std::map<const char*, size_t> Sizes;
};

TBlockTable& Blocks()
{
    static TBlockTable table;
    return table;
}

} // namespace

void* IMalloc::Alloc(size_t size)
{
    if (size == 0)
        return nullptr;
    void* block = std::calloc(1, size);
    if (!block)
        return nullptr;
    std::lock_guard guard(Blocks().Lock);
    Blocks().Sizes.emplace(static_cast<const char*>(block), size);
    return block;
}

void IMalloc::Free(void* block)
{
    if (!block)
        return;
    {
        std::lock_guard guard(Blocks().Lock);
        // A block that is not ours is left alone rather than corrupting the heap.
        if (Blocks().Sizes.erase(static_cast<const char*>(block)) == 0)
            return;
    }
    std::free(block);
}

void* IMalloc::Realloc(void* block, size_t size)
{
    if (!block)
        return Alloc(size);
    const int64_t old = GetSize(block);
    if (old < 0 || size == 0)
        return nullptr;
    void* grown = Alloc(size);
    if (!grown)
        return nullptr;
    std::memcpy(grown, block, std::min<size_t>(size, static_cast<size_t>(old)));
    Free(block);
    return grown;
}

int64_t IMalloc::GetSize(const void* block) const
{
    std::lock_guard guard(Blocks().Lock);
    const auto found = Blocks().Sizes.find(static_cast<const char*>(block));
    return found == Blocks().Sizes.end() ? -1 : static_cast<int64_t>(found->second);
}

int64_t IMalloc::BytesAvailable(const void* address) const
{
    const auto* at = static_cast<const char*>(address);
    std::lock_guard guard(Blocks().Lock);
    auto after = Blocks().Sizes.upper_bound(at);
    if (after == Blocks().Sizes.begin())
        return -1;
    const auto& [start, size] = *std::prev(after);
    const int64_t offset = at - start;
    return offset < static_cast<int64_t>(size) ? static_cast<int64_t>(size) - offset : -1;
}

int64_t IMalloc::LiveBlocks() const
{
    std::lock_guard guard(Blocks().Lock);
    return static_cast<int64_t>(Blocks().Sizes.size());
}

IMalloc& IMalloc::Instance()
{
    // Never released: the allocator lives as long as the process.
    static IMalloc* instance = new IMalloc;
    return *instance;
}

bool IMalloc::Offers(REFIID) const
{
    return false;
}

HRESULT SHGetMalloc(IMalloc** malloc)
{
    if (!malloc)
        return E_INVALIDARG;
    *malloc = &IMalloc::Instance();
    (*malloc)->AddRef();
    return S_OK;
}

HRESULT IUnknown::QueryInterface(REFIID riid, void** object)
{
    if (!object)
        return E_INVALIDARG;
    *object = nullptr;
    if (!(riid == IID_IUnknown) && !Offers(riid))
        return E_NOINTERFACE;
    AddRef();
    *object = this;
    return S_OK;
}

ULONG IUnknown::Release()
{
    const ULONG left = --FRefCount;
    if (left == 0)
        delete this;
    return left;
}

} // namespace platform::shell
