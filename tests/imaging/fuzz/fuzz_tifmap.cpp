// libFuzzer entry point for the Tifmap reader.
#include "fuzztargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    imagingfuzz::FuzzTifmap(Data, Size);
    return 0;
}
