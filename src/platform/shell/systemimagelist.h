#pragma once
// The process-wide system image lists, large (32 pixels) and small (16 pixels). Each
// distinct icon is added once, and an index, once handed out, names the same image for
// the rest of the process. Controls attach these images to their views.
#include <QHash>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <vector>

namespace platform::shell {

class TSystemImageList {
public:
    static TSystemImageList& Large();
    static TSystemImageList& Small();

    int IconSize() const { return FIconSize; }
    int Count() const { return int(FImages.size()); }
    // The image at index; a null pixmap for an index out of range.
    QPixmap Image(int index) const;
    // The index of the icon known under key, adding it (drawn at this list's size) the
    // first time; -1 for a null icon.
    int IndexOf(const QString& key, const QIcon& icon);
    // Lets key name an image already in the list (many MIME types share one icon).
    void Remember(const QString& key, int index) { FIndexByKey.insert(key, index); }
    // The index already given to key, or -1.
    int Find(const QString& key) const { return FIndexByKey.value(key, -1); }

private:
    explicit TSystemImageList(int iconSize) : FIconSize(iconSize) {}

    int FIconSize;
    std::vector<QPixmap> FImages;
    QHash<QString, int> FIndexByKey;
};

} // namespace platform::shell
