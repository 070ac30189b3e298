#pragma once

#include "device/ReportDescriptor.h"

#include <cstddef>
#include <cstdint>
#include <span>

namespace xk::fuzz {

// One fuzz input: the parser must not read outside it, and what it reports must be
// consistent. Returns 0 (the libFuzzer convention); a broken invariant aborts.
inline int CheckReportDescriptor(const uint8_t* data, size_t size) {
    for (const HidCaps& caps : ParseReportDescriptor(std::span(data, size))) {
        if (caps.inputReportLength == 1 || caps.featureReportLength == 1) {
            __builtin_trap(); // a report of id only is counted as no report
        }
        for (const HidReportLengths& report : caps.reports) {
            // The largest of each kind bounds every report of the collection.
            if (report.input > caps.inputReportLength ||
                report.feature > caps.featureReportLength || report.input == 1 ||
                report.feature == 1) {
                __builtin_trap();
            }
        }
    }
    return 0;
}

} // namespace xk::fuzz
