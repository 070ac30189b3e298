// libFuzzer entry for the report descriptor parser (clang, -DXK_BUILD_FUZZ=ON).

#include "ReportDescriptorFuzz.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return xk::fuzz::CheckReportDescriptor(data, size);
}
