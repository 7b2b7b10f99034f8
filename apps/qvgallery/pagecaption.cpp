#include "pagecaption.h"

namespace gallery {

QString DisplayCaption(const QString& Caption)
{
    QString shown;
    for (qsizetype i = 0; i < Caption.size(); ++i) {
        // "&&" stands for one "&"; a lone "&" only marks the character after it.
        if (Caption[i] == u'&' && ++i == Caption.size())
            break;
        shown += Caption[i];
    }
    return shown;
}

QString PageFileName(const QString& Caption)
{
    QString name;
    bool separated = false;
    for (const QChar c : DisplayCaption(Caption)) {
        if (c.isLetterOrNumber() || c == u'-' || c == u'_') {
            if (separated && !name.isEmpty())
                name += u'_';
            separated = false;
            name += c;
        } else {
            separated = true;
        }
    }
    return name.isEmpty() ? QStringLiteral("page") : name;
}

} // namespace gallery
