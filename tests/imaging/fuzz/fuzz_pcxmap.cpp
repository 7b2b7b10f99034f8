// libFuzzer entry point for the Pcxmap reader.
#include "fuzztargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    imagingfuzz::FuzzPcxmap(Data, Size);
    return 0;
}
