#include "platform/pathnames.h"

#include <QList>

namespace platform {

QByteArray CleanAbsolutePath(const QByteArray& Path)
{
    if (!Path.startsWith('/'))
        return {};
    QList<QByteArray> parts;
    for (const QByteArray& part : Path.split('/')) {
        if (part.isEmpty() || part == ".")
            continue;
        if (part == "..") {
            if (!parts.isEmpty())
                parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    return '/' + parts.join('/');
}

} // namespace platform
