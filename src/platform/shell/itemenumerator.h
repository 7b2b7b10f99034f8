#pragma once
// An enumerator over a folder's children: a snapshot of them, then (for a file-system
// folder) the entries its directory reader yields as they are asked for.
#include "platform/shell/idlist.h"
#include "platform/shell/itemattributes.h"
#include "platform/shell/shellfolder.h"

#include <memory>

namespace platform::shell {

class TItemEnumerator : public IEnumIDList {
public:
    explicit TItemEnumerator(std::vector<TShellItem> items, std::unique_ptr<TDirectoryReader> reader = nullptr)
        : FItems(std::move(items)), FReader(std::move(reader)) {}
    HRESULT Next(ULONG celt, LPITEMIDLIST* rgelt, ULONG* fetched) override;
    HRESULT Skip(ULONG celt) override;
    HRESULT Reset() override;
    HRESULT Clone(IEnumIDList** copy) override;

protected:
    bool Offers(REFIID riid) const override { return riid == IID_IEnumIDList; }

private:
    // The next item into item; false at the end.
    bool NextItem(TShellItem& item);

    std::vector<TShellItem> FItems;
    std::unique_ptr<TDirectoryReader> FReader;
    // Items handed out so far.
    size_t FNext = 0;
};

} // namespace platform::shell
