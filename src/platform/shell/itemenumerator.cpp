#include "platform/shell/itemenumerator.h"

namespace platform::shell {

HRESULT TItemEnumerator::Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* fetched)
{
    if (!rgelt || (celt > 1 && !fetched))
        return E_INVALIDARG;
    ULONG count = 0;
    while (count < celt && FNext < FItems.size()) {
        LPITEMIDLIST list = ILFromItems({FItems[FNext]});
        if (!list)
            break;
        rgelt[count++] = list;
        ++FNext;
    }
    if (fetched)
        *fetched = count;
    return count == celt ? S_OK : S_FALSE;
}

HRESULT TItemEnumerator::Skip(ULONG celt)
{
    const size_t left = FItems.size() - FNext;
    FNext += std::min<size_t>(celt, left);
    return celt <= left ? S_OK : S_FALSE;
}

HRESULT TItemEnumerator::Reset()
{
    FNext = 0;
    return S_OK;
}

HRESULT TItemEnumerator::Clone(IEnumIDList** copy)
{
    if (!copy)
        return E_INVALIDARG;
    auto* clone = new TItemEnumerator(FItems);
    clone->FNext = FNext;
    *copy = clone;
    return S_OK;
}

} // namespace platform::shell
