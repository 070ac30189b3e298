#include "device/ReportDescriptor.h"

#include "ReportDescriptorFuzz.h"
#include "device/VirtualMouse.h"

#include <gtest/gtest.h>

#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace xk {
namespace {

using Bytes = std::vector<uint8_t>;

using Caps = std::vector<HidCaps>;

struct DescriptorCase {
    std::string name;
    Bytes descriptor;
    Caps collections;
};

void PrintTo(const DescriptorCase& c, std::ostream* os) {
    *os << c.name;
}

Bytes Descriptor(VirtualMouse::Nodes nodes, int index) {
    const auto d = VirtualMouse::Descriptor(nodes, index);
    return {d.begin(), d.end()};
}

class ReportDescriptorTest : public testing::TestWithParam<DescriptorCase> {};

TEST_P(ReportDescriptorTest, GivesEachTopLevelCollectionWithItsReportLengths) {
    EXPECT_EQ(ParseReportDescriptor(GetParam().descriptor), GetParam().collections);
}

constexpr auto kSeparate = VirtualMouse::Nodes::Separate;

const Bytes kVendorInput = {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x06, 0x09, 0x01, 0x15,
                            0x00, 0x26, 0xFF, 0x00, 0x75, 0x08, 0x95, 0x07, 0x81, 0x02, 0xC0};

INSTANTIATE_TEST_SUITE_P(
    Table, ReportDescriptorTest,
    testing::Values(
        DescriptorCase{"BootMouseWithoutReportIds",
                       Descriptor(kSeparate, 0),
                       {{0x01, 0x02, 5, 0, {{0, 5, 0}}}}},
        DescriptorCase{"KeyboardOutputReportsDoNotCount",
                       Descriptor(kSeparate, 1),
                       {{0x01, 0x06, 9, 0, {{0, 9, 0}}}}},
        DescriptorCase{"VendorInputReport", kVendorInput, {{0xFF00, 0x01, 8, 0, {{6, 8, 0}}}}},
        DescriptorCase{
            "VendorFeatureReport", Descriptor(kSeparate, 3), {{0xFF01, 0x01, 0, 8, {{7, 0, 8}}}}},
        // Both vendor collections on one node: each keeps its own reports, and report 7 keeps
        // its own length beside the longer report 8.
        DescriptorCase{
            "BothVendorCollectionsInOneNode",
            Descriptor(VirtualMouse::Nodes::OneNode, 2),
            {{0xFF00, 0x01, 8, 0, {{6, 8, 0}}}, {0xFF01, 0x01, 0, 32, {{7, 0, 8}, {8, 0, 32}}}}},
        // A boot mouse collection first, then a vendor one: the second is not lost.
        DescriptorCase{"VendorCollectionAfterAMouse",
                       {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x85, 0x01, 0x75, 0x08,
                        0x95, 0x03, 0x81, 0x02, 0xC0, 0x06, 0x00, 0xFF, 0x09, 0x01,
                        0xA1, 0x01, 0x85, 0x06, 0x95, 0x07, 0x81, 0x02, 0xC0},
                       {{0x01, 0x02, 4, 0, {{1, 4, 0}}}, {0xFF00, 0x01, 8, 0, {{6, 8, 0}}}}},
        // Report 1 has 3 input bytes; report 2 has 63 input and 16 feature bytes.
        DescriptorCase{"LargestReportOfSeveral",
                       {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x85, 0x01,
                        0x75, 0x08, 0x95, 0x03, 0x81, 0x02, 0x85, 0x02, 0x95,
                        0x3F, 0x81, 0x02, 0x95, 0x10, 0xB1, 0x02, 0xC0},
                       {{0xFF00, 0x01, 64, 17, {{1, 4, 0}, {2, 64, 17}}}}},
        // Bits are summed per report and rounded up to bytes.
        DescriptorCase{"BitFieldsRoundUp",
                       {0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x75, 0x01, 0x95, 0x03, 0x81, 0x02,
                        0x75, 0x0C, 0x95, 0x01, 0x81, 0x02, 0xC0},
                       {{0x01, 0x02, 3, 0, {{0, 3, 0}}}}},
        DescriptorCase{"FourByteUsageNamesItsPage",
                       {0x0B, 0x01, 0x00, 0x01, 0xFF, 0xA1, 0x01, 0xC0},
                       {{0xFF01, 0x01, 0, 0, {}}}},
        DescriptorCase{"PushAndPopRestoreTheGlobals",
                       {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95,
                        0x02, 0xA4, 0x95, 0x20, 0xB1, 0x02, 0xB4, 0x81, 0x02, 0xC0},
                       {{0xFF00, 0x01, 3, 33, {{0, 3, 33}}}}},
        DescriptorCase{
            "LongItemsAreSkipped",
            {0xFE, 0x02, 0x10, 0xAA, 0xBB, 0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0xC0},
            {{0xFF00, 0x01, 0, 0, {}}}},
        DescriptorCase{"Empty", {}, {}},
        DescriptorCase{"NoCollection", {0x06, 0x00, 0xFF, 0x09, 0x01}, {}},
        DescriptorCase{"TruncatedItem", {0x06, 0x00, 0xFF, 0x09, 0x01, 0xA1, 0x01, 0x26, 0xFF}, {}},
        DescriptorCase{"TruncatedLongItem", {0xFE, 0x05, 0x10, 0x00}, {}},
        DescriptorCase{"EndWithoutCollection", {0x09, 0x01, 0xA1, 0x01, 0xC0, 0xC0}, {}},
        DescriptorCase{"PopWithoutPush", {0x09, 0x01, 0xA1, 0x01, 0xB4, 0xC0}, {}},
        DescriptorCase{"ReportIdBeyondAByte",
                       {0x09, 0x01, 0xA1, 0x01, 0x86, 0x00, 0x01, 0x81, 0x02, 0xC0},
                       {}},
        DescriptorCase{"ReportTooLong",
                       {0x09, 0x01, 0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF,
                        0xFF, 0xFF, 0x81, 0x02, 0xC0},
                       {}}),
    [](const auto& param) { return param.param.name; });

// The fuzz target's body over random and mutated descriptors: the sanitizer builds catch any
// read outside the input.
TEST(ReportDescriptorFuzzTest, RandomAndMutatedDescriptorsAreHandled) {
    std::mt19937 random(1234);
    std::vector<Bytes> seeds = {kVendorInput};
    for (const auto nodes : {VirtualMouse::Nodes::Separate, VirtualMouse::Nodes::OneNode}) {
        for (int i = 0; i < VirtualMouse::InterfaceCount(nodes); ++i) {
            seeds.push_back(Descriptor(nodes, i));
        }
    }
    for (int round = 0; round < 20000; ++round) {
        Bytes input;
        if (round % 2 == 0) {
            input.resize(random() % 64);
            for (uint8_t& byte : input) {
                byte = static_cast<uint8_t>(random());
            }
        } else {
            input = seeds[random() % seeds.size()];
            const int flips = 1 + static_cast<int>(random() % 4);
            for (int f = 0; f < flips && !input.empty(); ++f) {
                input[random() % input.size()] = static_cast<uint8_t>(random());
            }
            input.resize(random() % (input.size() + 1));
        }
        // A copy on the heap of exactly the input's size, so reading past it is caught.
        const auto exact = std::make_unique<uint8_t[]>(input.size() + 1);
        std::copy(input.begin(), input.end(), exact.get());
        EXPECT_EQ(fuzz::CheckReportDescriptor(exact.get(), input.size()), 0);
    }
}

} // namespace
} // namespace xk
