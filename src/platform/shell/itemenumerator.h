#pragma once
// An enumerator over a snapshot of a folder's children.
#include "platform/shell/idlist.h"
#include "platform/shell/shellfolder.h"

namespace platform::shell {

class TItemEnumerator : public IEnumIDList {
public:
    explicit TItemEnumerator(std::vector<TShellItem> items) : FItems(std::move(items)) {}
    HRESULT Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* fetched) override;
    HRESULT Skip(ULONG celt) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumIDList** copy) override;

protected:
    bool Offers(REFIID riid) const override { return riid == IID_IEnumIDList; }

private:
    std::vector<TShellItem> FItems;
    size_t FNext = 0;
};

} // namespace platform::shell
