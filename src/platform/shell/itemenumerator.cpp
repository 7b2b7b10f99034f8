#include "platform/shell/itemenumerator.h"

namespace platform::shell {

bool TItemEnumerator::NextItem(TShellItem& item)
{
    if (FNext < FItems.size()) {
        item = FItems[FNext];
        return true;
    }
    return FReader && FReader->Next(item);
}

HRESULT TItemEnumerator::Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* fetched)
{
    if (!rgelt || (celt > 1 && !fetched))
        return E_INVALIDARG;
    if (FStatuses)
        FStatuses->Clear();
    ULONG count = 0;
    TShellItem item;
    while (count < celt && NextItem(item)) {
        LPITEMIDLIST list = ILFromItems({item});
        ++FNext;
        if (!list)
            break;
        rgelt[count++] = list;
    }
    if (fetched)
        *fetched = count;
    return count == celt ? S_OK : S_FALSE;
}

HRESULT TItemEnumerator::Skip(ULONG celt)
{
    TShellItem item;
    ULONG skipped = 0;
    while (skipped < celt && NextItem(item)) {
        ++FNext;
        ++skipped;
    }
    return skipped == celt ? S_OK : S_FALSE;
}

HRESULT TItemEnumerator::Reset()
{
    FNext = 0;
    if (FReader)
        FReader->Rewind();
    return S_OK;
}

HRESULT TItemEnumerator::Clone(IEnumIDList** copy)
{
    if (!copy)
        return E_INVALIDARG;
    auto* clone = new TItemEnumerator(FItems, FReader ? FReader->Reopen() : nullptr);
    // The clone reads its own copy of the directory up to where this one is.
    clone->Skip(ULONG(FNext));
    *copy = clone;
    return S_OK;
}

} // namespace platform::shell
