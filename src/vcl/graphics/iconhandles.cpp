#include "vcl/graphics/iconhandles.h"

#include "vcl/graphics/gdiengine.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>

namespace vcl {

HICON CreateIconFrom(const QIcon& Icon, int Width, int Height)
{
    if (Icon.isNull() || Width < 1 || Height < 1)
        return nullptr;
    auto* icon = new TGdiIcon;
    icon->Image = Icon.pixmap(QSize(Width, Height)).toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (icon->Image.size() != QSize(Width, Height))
        icon->Image = icon->Image.scaled(Width, Height, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    gdiengine::TrackObject(icon);
    return icon;
}

BOOL DestroyIcon(HICON Icon)
{
    return gdiengine::IsLiveObject(Icon) && DeleteObject(Icon);
}

BOOL DrawIconEx(HDC DC, int X, int Y, HICON Icon, int Width, int Height, UINT, HBRUSH, UINT Flags)
{
    if (DC == nullptr || DC->Surface() == nullptr || !gdiengine::IsLiveObject(Icon) || (Flags & DI_NORMAL) == 0)
        return false;
    const QSize size(Width > 0 ? Width : Icon->Image.width(), Height > 0 ? Height : Icon->Image.height());
    QPainter painter(DC->Surface());
    painter.setClipRegion(gdiengine::DrawableRegion(*DC));
    painter.drawImage(QRect(QPoint(X, Y), size), Icon->Image);
    return true;
}

QIcon StandardApplicationIcon()
{
    if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr)
        return {};
    return QApplication::style()->standardIcon(QStyle::SP_TitleBarMenuButton);
}

} // namespace vcl
