#pragma once
// HKEY_CLASSES_ROOT as a read-only view of the system's MIME database.
#include "vcl/registry/reghive.h"

#include <QHash>
#include <vector>

namespace vcl {

// The root holds one key per known file-name extension, with its dot (".zip"), whose
// default value names the class, and one key per class (the MIME type's name, and
// "Folder" for folders), whose default value is the type's description. Keys match
// without regard to case. Nothing can be written.
class TMimeClassesHive final : public TRegHive {
public:
    TMimeClassesHive();

    QString Name() const override;
    bool ReadOnly() const override { return true; }
    TRegKeyId RootKey() const override { return RootKeyId; }

    std::optional<TRegKeyId> FindKey(TRegKeyId Parent, const QStringList& Path) override;
    TRegKeyId CreateKey(TRegKeyId Parent, const QStringList& Path) override;
    bool DeleteKey(TRegKeyId Parent, const QStringList& Path) override;
    QStringList SubKeyNames(TRegKeyId Key) override;
    QStringList ValueNames(TRegKeyId Key) override;
    std::optional<TRegValue> ReadValue(TRegKeyId Key, const QString& Name) override;
    void WriteValue(TRegKeyId Key, const QString& Name, const TRegValue& Value) override;
    bool DeleteValue(TRegKeyId Key, const QString& Name) override;

private:
    static constexpr TRegKeyId RootKeyId = 0;
    struct Entry {
        QString Name;
        QString Default;
    };

    void Add(const QString& Name, const QString& Default);
    const Entry* EntryOf(TRegKeyId Key) const;
    [[noreturn]] void RefuseWrite() const;

    // Entry i is key i + 1; the root has no entry.
    std::vector<Entry> FEntries;
    QHash<QString, TRegKeyId> FByFoldedName;
};

} // namespace vcl
