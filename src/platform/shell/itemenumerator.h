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
    // statuses (may be null): the memo of the folder's entry statuses, cleared for every
    // batch Next hands out.
    explicit TItemEnumerator(std::vector<TShellItem> items, std::unique_ptr<TDirectoryReader> reader = nullptr,
                             std::shared_ptr<TEntryStatusMemo> statuses = nullptr)
        : FItems(std::move(items)), FReader(std::move(reader)), FStatuses(std::move(statuses)) {}
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
    std::shared_ptr<TEntryStatusMemo> FStatuses;
    // Items handed out so far.
    size_t FNext = 0;
};

} // namespace platform::shell
