#pragma once
// The bodies of the parsers' fuzz entry points, shared by the libFuzzer programs and the
// replay test. Each feeds the bytes to one parser as an application would and checks
// what must hold for any input: a clean refusal or a result that survives a round trip.
// A broken check aborts, which libFuzzer and the test both report.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qvfuzz {

void FuzzFormFile(const uint8_t* Data, size_t Size);
void FuzzIniDocument(const uint8_t* Data, size_t Size);
void FuzzRegImport(const uint8_t* Data, size_t Size);
void FuzzFtpListing(const uint8_t* Data, size_t Size);
void FuzzCalc(const uint8_t* Data, size_t Size);
void FuzzMask(const uint8_t* Data, size_t Size);
void FuzzRtf(const uint8_t* Data, size_t Size);

struct FuzzTarget {
    const char* Name; // the seed folder seeds/<Name> and the program fuzz_<Name>
    void (*Run)(const uint8_t* Data, size_t Size);
};

const std::vector<FuzzTarget>& FuzzTargets();

} // namespace qvfuzz
