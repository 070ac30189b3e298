#pragma once

#include "device/FeatureReports.h"

#include <cstdint>
#include <vector>

namespace xk::test {

// Keeps the first `length` bytes of every report sent (0 keeps them all).
class RecordingReportSink final : public FeatureReportSink {
public:
    explicit RecordingReportSink(size_t length = 8) : length_(length) {}

    SendOutcome SendFeatureReport(std::span<const uint8_t, kReportBufferSize> buffer,
                                  SendBudget& /*budget*/) override {
        const size_t n = length_ == 0 ? buffer.size() : length_;
        sent.emplace_back(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n));
        return SendOutcome::Sent;
    }

    std::vector<std::vector<uint8_t>> sent;

private:
    size_t length_;
};

} // namespace xk::test
