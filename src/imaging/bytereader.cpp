#include "imaging/bytereader.h"

#include <algorithm>
#include <cstring>

namespace Imaging {

TByteReader TByteReader::Slice(int64_t Offset, int64_t Count) const
{
    const int64_t start = std::clamp<int64_t>(Offset, 0, FSize);
    return TByteReader(FData + start, std::clamp<int64_t>(Count, 0, FSize - start));
}

int64_t TByteReader::Read(void* Buffer, int64_t Count)
{
    const int64_t n = std::clamp<int64_t>(FSize - FPosition, 0, std::max<int64_t>(Count, 0));
    if (n > 0)
        std::memcpy(Buffer, FData + FPosition, static_cast<size_t>(n));
    FPosition += n;
    return n;
}

} // namespace Imaging
