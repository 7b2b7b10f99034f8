#include "vcl/registry/mimeclasses.h"

#include <QMimeDatabase>
#include <algorithm>

namespace vcl {

namespace {

// The class of folders, as the original platform names it.
const QString FolderClass = QStringLiteral("Folder");
const QString DirectoryMimeType = QStringLiteral("inode/directory");

} // namespace

TMimeClassesHive::TMimeClassesHive()
{
    const QMimeDatabase db;
    for (const QMimeType& type : db.allMimeTypes()) {
        Add(type.name(), type.comment());
        for (const QString& suffix : type.suffixes()) {
            // Several types may claim one suffix; the database's own glob weights pick
            // the class, just as it does for a file of that name.
            const QString extension = QLatin1Char('.') + suffix;
            if (!FByFoldedName.contains(extension.toCaseFolded()))
                Add(extension, db.mimeTypeForFile(QLatin1Char('x') + extension, QMimeDatabase::MatchExtension).name());
        }
    }
    Add(FolderClass, db.mimeTypeForName(DirectoryMimeType).comment());

    std::sort(FEntries.begin(), FEntries.end(),
              [](const Entry& a, const Entry& b) { return a.Name.compare(b.Name, Qt::CaseInsensitive) < 0; });
    FByFoldedName.clear();
    for (size_t i = 0; i < FEntries.size(); ++i)
        FByFoldedName.insert(FEntries[i].Name.toCaseFolded(), TRegKeyId(i + 1));
}

void TMimeClassesHive::Add(const QString& Name, const QString& Default)
{
    if (FByFoldedName.contains(Name.toCaseFolded()))
        return;
    FEntries.push_back({Name, Default});
    FByFoldedName.insert(Name.toCaseFolded(), TRegKeyId(FEntries.size()));
}

QString TMimeClassesHive::Name() const { return RootKeyName(HKEY_CLASSES_ROOT); }

const TMimeClassesHive::Entry* TMimeClassesHive::EntryOf(TRegKeyId Key) const
{
    if (Key < 1 || Key > TRegKeyId(FEntries.size()))
        return nullptr;
    return &FEntries[size_t(Key - 1)];
}

std::optional<TRegKeyId> TMimeClassesHive::FindKey(TRegKeyId Parent, const QStringList& Path)
{
    if (Path.isEmpty())
        return Parent;
    // Only the root has subkeys, one level deep.
    if (Parent != RootKeyId || Path.size() != 1)
        return std::nullopt;
    const auto found = FByFoldedName.constFind(Path.first().toCaseFolded());
    if (found == FByFoldedName.constEnd())
        return std::nullopt;
    return found.value();
}

QStringList TMimeClassesHive::SubKeyNames(TRegKeyId Key)
{
    QStringList names;
    if (Key == RootKeyId)
        for (const Entry& entry : FEntries)
            names << entry.Name;
    return names;
}

QStringList TMimeClassesHive::ValueNames(TRegKeyId Key)
{
    if (EntryOf(Key))
        return {QString()};
    return {};
}

std::optional<TRegValue> TMimeClassesHive::ReadValue(TRegKeyId Key, const QString& Name)
{
    const Entry* entry = EntryOf(Key);
    if (!entry || !Name.isEmpty())
        return std::nullopt;
    return TRegValue::FromString(entry->Default);
}

void TMimeClassesHive::RefuseWrite() const
{
    throw ERegistryException(
        QStringLiteral("%1 is read-only: it shows the system's MIME database").arg(Name()));
}

TRegKeyId TMimeClassesHive::CreateKey(TRegKeyId, const QStringList&) { RefuseWrite(); }

bool TMimeClassesHive::DeleteKey(TRegKeyId, const QStringList&) { RefuseWrite(); }

void TMimeClassesHive::WriteValue(TRegKeyId, const QString&, const TRegValue&) { RefuseWrite(); }

bool TMimeClassesHive::DeleteValue(TRegKeyId, const QString&) { RefuseWrite(); }

} // namespace vcl
