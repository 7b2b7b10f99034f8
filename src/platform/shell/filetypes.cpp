#include "platform/shell/filetypes.h"

#include "platform/shell/idlist.h"

#include <QFile>
#include <QHash>
#include <QMimeDatabase>
#include <QRegularExpression>
#include <QStandardPaths>
#include <deque>
#include <mutex>

namespace platform::shell {

namespace {

const QMimeDatabase& MimeDatabase()
{
    static const QMimeDatabase database;
    return database;
}

// The patterns of the MIME database that are not "*.<something>". Read from the
// database's globs2 files ("weight:type:pattern[:flags]"), which are the files Qt's
// database reads too and take a millisecond; only without them are Qt's own types
// asked, which parses every type's description (about a tenth of a second).
QStringList NonExtensionPatterns()
{
    QStringList patterns;
    const QStringList files = QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, QStringLiteral("mime/globs2"));
    for (const QString& path : files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QList<QByteArray> fields = line.split(':');
            if (!line.startsWith('#') && fields.size() >= 3 && !fields[2].startsWith("*."))
                patterns << QString::fromUtf8(fields[2]);
        }
    }
    if (files.isEmpty())
        for (const QMimeType& type : MimeDatabase().allMimeTypes())
            for (const QString& pattern : type.globPatterns())
                if (!pattern.startsWith(QStringLiteral("*.")))
                    patterns << pattern;
    return patterns;
}

// One expression matching every name a pattern other than "*.<something>" could
// match. A pattern "*.<rest>" matches the end of a name from one of its dots on, which
// lies inside the text from the first dot on; so for names this expression leaves out,
// that text decides the answer.
const QRegularExpression& OtherPatterns()
{
    static const QRegularExpression expression = [] {
        QStringList alternatives;
        for (const QString& pattern : NonExtensionPatterns())
            alternatives << QRegularExpression::wildcardToRegularExpression(
                pattern, QRegularExpression::UnanchoredWildcardConversion);
        if (alternatives.isEmpty())
            return QRegularExpression(QStringLiteral("(?!)")); // matches nothing
        QRegularExpression combined(QStringLiteral("\\A(?:") + alternatives.join(u'|') + QStringLiteral(")\\z"),
                                    QRegularExpression::CaseInsensitiveOption);
        combined.optimize();
        return combined;
    }();
    return expression;
}

TFileType TypeFrom(const QMimeType& type)
{
    return {type.name(), type.comment(), type.iconName(), type.genericIconName()};
}

} // namespace

TFileType UncachedFileTypeOfName(const QByteArray& name)
{
    return TypeFrom(MimeDatabase().mimeTypeForFile(NameFromBytes(name), QMimeDatabase::MatchExtension));
}

namespace {

// The types found so far, by MIME name and by the suffix that decides them.
struct TFileTypeTable {
    // Entries are never removed, so references into the deque stay valid.
    std::deque<TFileType> Types;
    QHash<QString, const TFileType*> ByMimeName;
    QHash<QByteArray, const TFileType*> BySuffix;

    const TFileType& Find(const QByteArray& name)
    {
        const qsizetype dot = name.indexOf('.');
        const QByteArray suffix = dot < 0 ? QByteArray() : name.mid(dot);
        const bool shared = !OtherPatterns().match(NameFromBytes(name)).hasMatch();
        if (shared)
            if (const TFileType* known = BySuffix.value(suffix))
                return *known;
        const QMimeType type = MimeDatabase().mimeTypeForFile(NameFromBytes(name), QMimeDatabase::MatchExtension);
        const TFileType*& entry = ByMimeName[type.name()];
        if (!entry)
            entry = &Types.emplace_back(TypeFrom(type));
        if (shared)
            BySuffix.insert(suffix, entry);
        return *entry;
    }
};

} // namespace

const TFileType& FileTypeOfName(const QByteArray& name)
{
    static TFileTypeTable table;
    static std::mutex guard;
    // The name asked about last: an item's icon and its type text are asked in a row.
    static QByteArray lastName;
    static const TFileType* lastType = nullptr;
    const std::lock_guard lock(guard);
    if (!lastType || name != lastName) {
        lastType = &table.Find(name);
        lastName = name;
    }
    return *lastType;
}

} // namespace platform::shell
