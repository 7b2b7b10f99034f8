#pragma once
// The bodies of the readers' fuzz entry points, shared with the robustness test. Each
// loads the data through the reader as an application would and checks that a load
// either fails cleanly or yields a bitmap of the size its header announced.
#include <cstddef>
#include <cstdint>

namespace imagingfuzz {

void FuzzGifmap(const uint8_t* Data, size_t Size);
void FuzzPcxmap(const uint8_t* Data, size_t Size);
void FuzzTifmap(const uint8_t* Data, size_t Size);
void FuzzCdrmap(const uint8_t* Data, size_t Size);

} // namespace imagingfuzz
