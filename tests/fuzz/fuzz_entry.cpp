// libFuzzer entry point of one parser; QV_FUZZ_BODY names its body in fuzztargets.h.
#include "fuzztargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    qvfuzz::QV_FUZZ_BODY(Data, Size);
    return 0;
}
