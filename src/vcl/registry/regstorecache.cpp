#include "vcl/registry/regstorecache.h"

#include <QHash>

namespace vcl {

size_t TRegStoreCache::SlotHash::operator()(const Slot& S) const noexcept
{
    return qHash(S.second, size_t(S.first));
}

void TRegStoreCache::Validate(int64_t ChangeCounter)
{
    if (FChangeCounter != ChangeCounter)
        Clear();
    FChangeCounter = ChangeCounter;
}

void TRegStoreCache::Clear()
{
    FChildren.clear();
    FValues.clear();
}

void TRegStoreCache::MakeRoom()
{
    if (FChildren.size() + FValues.size() >= MaxEntries)
        Clear();
}

std::optional<std::optional<TRegKeyId>> TRegStoreCache::Child(TRegKeyId Parent, const QString& FoldedName) const
{
    const auto found = FChildren.find({Parent, FoldedName});
    if (found == FChildren.end())
        return std::nullopt;
    return found->second;
}

void TRegStoreCache::PutChild(TRegKeyId Parent, const QString& FoldedName, std::optional<TRegKeyId> Child)
{
    MakeRoom();
    FChildren.insert_or_assign({Parent, FoldedName}, Child);
}

std::optional<std::optional<TRegValue>> TRegStoreCache::Value(TRegKeyId Key, const QString& FoldedName) const
{
    const auto found = FValues.find({Key, FoldedName});
    if (found == FValues.end())
        return std::nullopt;
    return found->second;
}

void TRegStoreCache::PutValue(TRegKeyId Key, const QString& FoldedName, std::optional<TRegValue> Value)
{
    MakeRoom();
    FValues.insert_or_assign({Key, FoldedName}, std::move(Value));
}

} // namespace vcl
