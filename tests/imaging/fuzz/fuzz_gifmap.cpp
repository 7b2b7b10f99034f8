// libFuzzer entry point for the Gifmap reader.
#include "fuzztargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    imagingfuzz::FuzzGifmap(Data, Size);
    return 0;
}
