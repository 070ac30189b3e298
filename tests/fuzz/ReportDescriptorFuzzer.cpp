// Fuzz entry for the report descriptor parser: libFuzzer with the fuzz preset, otherwise a
// replay of the seed corpus.

#include "ReportDescriptorFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return xk::fuzz::CheckReportDescriptor(data, size);
}
