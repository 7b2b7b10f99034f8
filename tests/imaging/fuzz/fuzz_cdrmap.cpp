// libFuzzer entry point for the Cdrmap reader.
#include "fuzztargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    imagingfuzz::FuzzCdrmap(Data, Size);
    return 0;
}
