#include "platform/VirtualMouseProtocol.h"

#include <gtest/gtest.h>

namespace xk::vmouse {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(VirtualMouseProtocolTest, HexBytesRoundTrip) {
    const Bytes bytes = {0x07, 0x10, 0xAB, 0x00, 0xFF};
    EXPECT_EQ(HexBytes(bytes), "07 10 ab 00 ff");
    EXPECT_EQ(ParseHexBytes("07 10 ab 00 ff"), bytes);
    EXPECT_EQ(ParseHexBytes("07  10 AB"), (Bytes{0x07, 0x10, 0xAB}));
    EXPECT_EQ(ParseHexBytes(""), Bytes{});
}

TEST(VirtualMouseProtocolTest, MalformedTextIsRefused) {
    for (const char* text : {"7", "071", "0g", "07 1", "-1", "07\t10"}) {
        EXPECT_FALSE(ParseHexBytes(text)) << text;
    }
    EXPECT_FALSE(ParseHex16("18f"));
    EXPECT_FALSE(ParseHex16("18fz"));
    EXPECT_EQ(ParseHex16("18F8"), 0x18F8);
    EXPECT_FALSE(ParseNumber("10", 1, 9));
    EXPECT_FALSE(ParseNumber("3x", 1, 9));
    EXPECT_FALSE(ParseNumber("", 1, 9));
    EXPECT_EQ(ParseNumber("9", 1, 9), 9);
}

TEST(VirtualMouseProtocolTest, AnswersOfTheMouseAreReadWordByWord) {
    const auto opened = ParseOpenReply("ok 18f8 1286 06 00 ff 09 01");
    ASSERT_TRUE(opened);
    EXPECT_EQ(opened->attributes.vendorId, 0x18F8);
    EXPECT_EQ(opened->attributes.productId, 0x1286);
    EXPECT_EQ(opened->descriptor, (Bytes{0x06, 0x00, 0xFF, 0x09, 0x01}));
    EXPECT_EQ(ParseOpenReply("ok  18f8 1286  06 00")->descriptor, (Bytes{0x06, 0x00}));
    EXPECT_EQ(ParseOpenReply("ok 18f8 1286")->descriptor, Bytes{});
    for (const char* refused :
         {"error bad open", "ok 18f8", "ok 18f8 1286 6", "ok 18g8 1286 06", "OK 18f8 1286"}) {
        EXPECT_FALSE(ParseOpenReply(refused)) << refused;
    }

    EXPECT_EQ(ParseInputLine("input 06 f1 01"), (Bytes{0x06, 0xF1, 0x01}));
    EXPECT_EQ(ParseInputLine(" input  06 f1"), (Bytes{0x06, 0xF1}));
    for (const char* refused : {"input", "input ", "inputs 06", "input 06 1", "ok", ""}) {
        EXPECT_FALSE(ParseInputLine(refused)) << refused;
    }
}

TEST(VirtualMouseProtocolTest, InterfacePathsNameTheirSocket) {
    const std::string path = InterfacePath("/run/user/1/x.sock", 3);
    EXPECT_EQ(path, "vmouse:/run/user/1/x.sock#3");
    EXPECT_EQ(InterfaceIndexOf("/run/user/1/x.sock", path), 3);
    EXPECT_FALSE(InterfaceIndexOf("/tmp/other.sock", path));
    EXPECT_FALSE(InterfaceIndexOf("/run/user/1/x.sock", "vmouse:/run/user/1/x.sock#"));
    EXPECT_FALSE(InterfaceIndexOf("/run/user/1/x.sock", "/dev/hidraw3"));
}

} // namespace
} // namespace xk::vmouse
