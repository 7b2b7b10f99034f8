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
    // The block found last: a list is usually asked about several times in a row (its
    // size, then its items), and this answers the repeats without a search of the map.
    const char* LastStart = nullptr;
    size_t LastSize = 0;

    // The live block holding address, as its start and size; false when none does.
    bool Holding(const char* address, const char*& start, size_t& size)
    {
        if (!(LastStart && address >= LastStart && address < LastStart + LastSize)) {
            const auto after = Sizes.upper_bound(address);
            if (after == Sizes.begin())
                return false;
            const auto& [blockStart, blockSize] = *std::prev(after);
            if (address >= blockStart + blockSize)
                return false;
            LastStart = blockStart;
            LastSize = blockSize;
        }
        start = LastStart;
        size = LastSize;
        return true;
    }
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
        if (Blocks().LastStart == block)
            Blocks().LastStart = nullptr;
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
    const auto* at = static_cast<const char*>(block);
    const char* start = nullptr;
    size_t size = 0;
    std::lock_guard guard(Blocks().Lock);
    return Blocks().Holding(at, start, size) && start == at ? static_cast<int64_t>(size) : -1;
}

int64_t IMalloc::BytesAvailable(const void* address) const
{
    const auto* at = static_cast<const char*>(address);
    const char* start = nullptr;
    size_t size = 0;
    std::lock_guard guard(Blocks().Lock);
    return Blocks().Holding(at, start, size) ? static_cast<int64_t>(size) - (at - start) : -1;
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
