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

const TFileType& FileTypeOfName(const QByteArray& name)
{
    // Entries are never removed, so references into the deque stay valid.
    static std::deque<TFileType> types;
    static QHash<QString, const TFileType*> byMimeName;
    static QHash<QByteArray, const TFileType*> bySuffix;
    static std::mutex guard;
    const std::lock_guard lock(guard);
    const qsizetype dot = name.indexOf('.');
    const QByteArray suffix = dot < 0 ? QByteArray() : name.mid(dot);
    const bool shared = !OtherPatterns().match(NameFromBytes(name)).hasMatch();
    if (shared)
        if (const TFileType* known = bySuffix.value(suffix))
            return *known;
    const QMimeType type = MimeDatabase().mimeTypeForFile(NameFromBytes(name), QMimeDatabase::MatchExtension);
    const TFileType*& entry = byMimeName[type.name()];
    if (!entry)
        entry = &types.emplace_back(TypeFrom(type));
    if (shared)
        bySuffix.insert(suffix, entry);
    return *entry;
}

} // namespace platform::shell
