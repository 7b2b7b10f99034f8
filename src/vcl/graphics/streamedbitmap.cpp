#include "vcl/graphics/streamedbitmap.h"

#include "vcl/core/streams.h"

namespace vcl {

QByteArray TStreamedBitmap::Data() const
{
    if (Empty())
        return {};
    TMemoryStream stream;
    // Writing reads the pixels only; the bitmap stays as it is.
    const_cast<TStreamedBitmap*>(this)->SaveToStream(stream);
    return stream.Bytes();
}

void TStreamedBitmap::SetData(const QByteArray& Value)
{
    if (Value.isEmpty()) {
        SetSize(0, 0);
        return;
    }
    TBitmap read;
    TMemoryStream stream(Value);
    read.LoadFromStream(stream);
    Assign(&read);
}

} // namespace vcl
