#pragma once
// Loads one picture file through TAnymap with the reader its content asks for, turning
// every failure into a message: the reader's own, the file system's, or one for memory.
#include "picturetype.h"

#include "imaging/allmap.h"

#include <memory>

namespace qvimage {

struct TLoadedPicture {
    TPictureType Type;
    // Set when the picture loaded.
    std::unique_ptr<Allmap::TAnymap> Bitmap;
    // Why it did not, when it did not.
    QString Error;
};

TLoadedPicture LoadPicture(const QString& FileName);

} // namespace qvimage
