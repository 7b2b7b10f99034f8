#pragma once
// The gallery's headless mode: a picture of every page.
#include <QString>
#include <QStringList>

namespace gallery {

class GalleryWindow;

// Renders every page of the window to DIR/<name>.png, the name made from the page's
// caption by PageFileName (a second page of the same name gets "_2", and so on), and
// the whole window with its inspector to DIR/gallery.png.
// Creates DIR when needed. Returns the files written; raises EWriteError when a file
// cannot be written.
QStringList WriteScreenshots(GalleryWindow& Window, const QString& Dir);

} // namespace gallery
