#pragma once
// Path texts as bytes, the way the file system and FTP servers have them.
#include <QByteArray>

namespace platform {

// "/a/./b/../c/" as "/a/c" (".." at the root stays at the root), by the text alone:
// links are not followed. Empty for a path that is not absolute.
QByteArray CleanAbsolutePath(const QByteArray& Path);

} // namespace platform
