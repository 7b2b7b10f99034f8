#include "platform/shell/systemimagelist.h"

namespace platform::shell {

TSystemImageList& TSystemImageList::Large()
{
    static TSystemImageList list(32);
    return list;
}

TSystemImageList& TSystemImageList::Small()
{
    static TSystemImageList list(16);
    return list;
}

QPixmap TSystemImageList::Image(int index) const
{
    return index >= 0 && index < Count() ? FImages[size_t(index)] : QPixmap();
}

int TSystemImageList::IndexOf(const QString& key, const QIcon& icon)
{
    if (const int known = Find(key); known >= 0)
        return known;
    if (icon.isNull())
        return -1;
    FImages.push_back(icon.pixmap(FIconSize, FIconSize));
    const int index = Count() - 1;
    FIndexByKey.insert(key, index);
    return index;
}

} // namespace platform::shell
