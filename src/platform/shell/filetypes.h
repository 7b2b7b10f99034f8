#pragma once
// The MIME type of a file by its name alone (never by content), with what listings show
// of it: the type name and the icon-theme names. Looking a name up in the MIME database
// is the slowest part of listing a folder, so answers are kept per name suffix: every
// name that only extension patterns ("*.txt", "*.tar.gz") can match shares the answer
// of the first name with the same text from its first dot on (case kept, since some
// patterns tell case apart). Names other patterns may match ("Makefile", "README*",
// "*~") are looked up each time, so the cache never changes an answer.
#include <QByteArray>
#include <QString>

namespace platform::shell {

struct TFileType {
    QString MimeName;
    QString Comment; // the type name shown in listings
    QString IconName;
    QString GenericIconName;
    // The type's index in the small and large system image lists, once known.
    mutable int IconIndex[2] = {-1, -1};
};

// The type of a file named name (one path component, the file system's bytes). The
// reference stays valid for the process; any thread may ask, but IconIndex belongs to
// the user-interface thread, as the image lists do.
const TFileType& FileTypeOfName(const QByteArray& name);

// The same answer straight from the MIME database, without any cache (for checks).
TFileType UncachedFileTypeOfName(const QByteArray& name);

} // namespace platform::shell
