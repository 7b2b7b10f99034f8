#include "vcl/registry/regstorecache.h"

#include <QHash>

namespace vcl {

namespace {

template <class Map>
const typename Map::mapped_type* Lookup(const Map& Answers, const TRegStoreCache::Slot& Question)
{
    const auto found = Answers.find(Question);
    return found == Answers.end() ? nullptr : &found->second;
}

} // namespace

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

const std::optional<TRegKeyId>* TRegStoreCache::Child(TRegKeyId Parent, const QString& FoldedName) const
{
    return Lookup(FChildren, {Parent, FoldedName});
}

void TRegStoreCache::PutChild(TRegKeyId Parent, const QString& FoldedName, std::optional<TRegKeyId> Child)
{
    MakeRoom();
    FChildren.insert_or_assign({Parent, FoldedName}, Child);
}

const std::optional<TRegValue>* TRegStoreCache::Value(TRegKeyId Key, const QString& FoldedName) const
{
    return Lookup(FValues, {Key, FoldedName});
}

void TRegStoreCache::PutValue(TRegKeyId Key, const QString& FoldedName, std::optional<TRegValue> Value)
{
    MakeRoom();
    FValues.insert_or_assign({Key, FoldedName}, std::move(Value));
}

} // namespace vcl
