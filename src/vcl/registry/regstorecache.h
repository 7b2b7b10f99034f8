#pragma once
// What one process has read from a registry store, kept while the store is unchanged.
#include "vcl/registry/reghive.h"

#include <QString>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>

namespace vcl {

// Answers for key lookups (a parent and a folded name give a key, or none) and value
// reads (a key and a folded name give a value, or none), tagged with the store's change
// counter. The owner hands in the counter before each use; when it differs from the one
// the answers were collected under, another connection has committed and everything is
// forgotten. The owner's own writes keep the answers current through Put*.
class TRegStoreCache {
public:
    using Slot = std::pair<TRegKeyId, QString>;

    void Validate(int64_t ChangeCounter);
    void Clear();

    // Null when the answer is not known; otherwise the answer, which may be "none". It
    // stays valid until the cache is next changed.
    const std::optional<TRegKeyId>* Child(TRegKeyId Parent, const QString& FoldedName) const;
    void PutChild(TRegKeyId Parent, const QString& FoldedName, std::optional<TRegKeyId> Child);
    const std::optional<TRegValue>* Value(TRegKeyId Key, const QString& FoldedName) const;
    void PutValue(TRegKeyId Key, const QString& FoldedName, std::optional<TRegValue> Value);

private:
    struct SlotHash {
        size_t operator()(const Slot& S) const noexcept;
    };
    // Answers kept at most, so that probing many missing names cannot grow the cache
    // without bound; reaching it starts over.
    static constexpr size_t MaxEntries = 100000;
    void MakeRoom();

    std::unordered_map<Slot, std::optional<TRegKeyId>, SlotHash> FChildren;
    std::unordered_map<Slot, std::optional<TRegValue>, SlotHash> FValues;
    std::optional<int64_t> FChangeCounter;
};

} // namespace vcl
