#include "screenshots.h"

#include "gallerywindow.h"
#include "pagecaption.h"

#include "vcl/core/sysutils.h"

#include <QDir>
#include <QImage>
#include <QSet>
#include <QWidget>

namespace gallery {

namespace {
const QString WindowPictureName = QStringLiteral("gallery");
} // namespace

QStringList WriteScreenshots(GalleryWindow& Window, const QString& Dir)
{
    if (!QDir().mkpath(Dir))
        throw vcl::EWriteError(QStringLiteral("Cannot create the folder %1").arg(Dir));
    QStringList written;
    // The whole window, inspector included, is gallery.png; a page of that name gets another.
    QSet<QString> used{WindowPictureName};
    for (int i = 0; i < Window.PageCount(); ++i) {
        const QString base = PageFileName(Window.PageCaption(i));
        QString name = base;
        for (int n = 2; used.contains(name); ++n)
            name = base + u'_' + QString::number(n);
        used.insert(name);

        const QString path = QDir(Dir).filePath(name + QStringLiteral(".png"));
        const QImage picture = Window.PageContent(i)->grab().toImage();
        if (!picture.save(path, "PNG"))
            throw vcl::EWriteError(QStringLiteral("Cannot write %1").arg(path));
        written.push_back(path);
    }
    const QString path = QDir(Dir).filePath(WindowPictureName + QStringLiteral(".png"));
    if (!Window.grab().toImage().save(path, "PNG"))
        throw vcl::EWriteError(QStringLiteral("Cannot write %1").arg(path));
    written.push_back(path);
    return written;
}

} // namespace gallery
