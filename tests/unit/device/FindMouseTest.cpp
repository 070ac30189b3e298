#include "device/MouseConnection.h"

#include <gtest/gtest.h>

#include <array>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace xk {
namespace {

// An enumeration given as a table: an empty entry is an index at which the enumeration fails.
// One node: its attributes and the top-level collections of its report descriptor.
struct FakeInterface {
    std::string path;
    HidAttributes attributes;
    std::vector<HidCaps> collections;
};

constexpr HidAttributes kMouse{0x18F8, 0x1286};
constexpr HidAttributes kOther{0x046D, 0xC077};
const HidCaps kBoot{0x01, 0x02, 5, 0, {{0, 5, 0}}};
const HidCaps kKeyboard{0x01, 0x06, 9, 0, {{0, 9, 0}}};
const HidCaps kInput{0xFF00, 0x01, 8, 0, {{6, 8, 0}}};
const HidCaps kFeature{0xFF01, 0x01, 0, 8, {{7, 0, 8}}};

class ScriptedTransport final : public HidTransport {
public:
    std::vector<std::optional<FakeInterface>> interfaces;
    std::vector<std::string> calls;
    std::vector<std::string> failingOpens; // "path access"
    std::vector<DeviceChange> notifications;
    int highestIndexTried = -1;
    std::map<std::string, std::vector<std::vector<uint8_t>>> featuresByPath;

    class Device final : public HidDevice {
    public:
        Device(ScriptedTransport& owner, FakeInterface fake, std::string access)
            : owner_(owner), fake_(std::move(fake)), access_(std::move(access)) {}
        ~Device() override { owner_.calls.push_back("close " + fake_.path + " " + access_); }
        std::optional<HidAttributes> Attributes() override { return fake_.attributes; }
        std::vector<HidCaps> Capabilities() override {
            owner_.calls.push_back("caps " + fake_.path);
            return fake_.collections;
        }
        bool SetFeature(std::span<const uint8_t> report) override {
            owner_.featuresByPath[fake_.path + " " + access_].emplace_back(report.begin(),
                                                                           report.end());
            return true;
        }
        std::optional<size_t> ReadReport(std::span<uint8_t>) override { return std::nullopt; }
        void Interrupt() override {}

    private:
        ScriptedTransport& owner_;
        FakeInterface fake_;
        std::string access_;
    };

    class List final : public HidInterfaceList {
    public:
        explicit List(ScriptedTransport& owner) : owner_(owner) {}
        std::optional<std::string> PathAt(int index) override {
            owner_.highestIndexTried = std::max(owner_.highestIndexTried, index);
            if (index < 0 || static_cast<size_t>(index) >= owner_.interfaces.size() ||
                !owner_.interfaces[static_cast<size_t>(index)]) {
                return std::nullopt;
            }
            return owner_.interfaces[static_cast<size_t>(index)]->path;
        }

    private:
        ScriptedTransport& owner_;
    };

    std::unique_ptr<HidInterfaceList> ListInterfaces() override {
        calls.push_back("list");
        return std::make_unique<List>(*this);
    }
    std::unique_ptr<HidDevice> Open(const std::string& path, HidAccess access) override {
        const char* word = access == HidAccess::Identify ? "identify"
                           : access == HidAccess::Read   ? "read"
                                                         : "write";
        const std::string call = path + " " + word;
        calls.push_back("open " + call);
        if (std::find(failingOpens.begin(), failingOpens.end(), call) != failingOpens.end()) {
            return nullptr;
        }
        for (const auto& fake : interfaces) {
            if (fake && fake->path == path) {
                return std::make_unique<Device>(*this, *fake, word);
            }
        }
        return nullptr;
    }
    void RegisterNotifications() override { calls.push_back("register"); }
    int NotificationFd() const override { return -1; }
    std::vector<DeviceChange> ReadNotifications() override {
        return std::exchange(notifications, {});
    }

    size_t Count(const std::string& call) const {
        return static_cast<size_t>(std::count(calls.begin(), calls.end(), call));
    }
};

std::optional<FakeInterface> Interface(std::string path, HidAttributes attributes,
                                       std::vector<HidCaps> collections) {
    return FakeInterface{std::move(path), attributes, std::move(collections)};
}

class FindMouseTest : public testing::Test {
protected:
    void UseTypicalMouse() {
        transport.interfaces = {
            Interface("kbd0", kOther, {kKeyboard}),  Interface("m-boot", kMouse, {kBoot}),
            Interface("m-kbd", kMouse, {kKeyboard}), Interface("m-ff00", kMouse, {kInput}),
            Interface("m-ff01", kMouse, {kFeature}), Interface("m-late", kMouse, {kBoot}),
        };
    }

    ScriptedTransport transport;
    MouseConnection connection{transport};
};

TEST_F(FindMouseTest, VendorInterfacesAfterOthersAreFoundAndTheScanStopsRightAfter) {
    UseTypicalMouse();

    EXPECT_TRUE(connection.FindMouse());

    const std::vector<std::string> expected = {
        "list",
        "open kbd0 identify",
        "close kbd0 identify",
        "open m-boot identify",
        "register",
        "caps m-boot",
        "close m-boot identify",
        "open m-kbd identify",
        "register",
        "caps m-kbd",
        "close m-kbd identify",
        "open m-ff00 identify",
        "register",
        "caps m-ff00",
        "open m-ff00 read",
        "close m-ff00 identify",
        "open m-ff01 identify",
        "register",
        "caps m-ff01",
        "open m-ff01 write",
        "close m-ff01 identify",
    };
    EXPECT_EQ(transport.calls, expected);
    EXPECT_EQ(transport.highestIndexTried, 4);
    EXPECT_TRUE(connection.connected());
    EXPECT_EQ(connection.DevicePath(), "m-ff01");
    EXPECT_EQ(connection.ReadCaps(), kInput);
    EXPECT_EQ(connection.WriteCaps(), kFeature);
    EXPECT_TRUE(connection.ReadHandleOpen());
    EXPECT_TRUE(connection.WriteHandleOpen());
}

TEST_F(FindMouseTest, AGapDoesNotStopTheScan) {
    transport.interfaces = {std::nullopt, Interface("a", kOther, {kBoot}),
                            std::nullopt, Interface("m-ff01", kMouse, {kFeature}),
                            std::nullopt, Interface("m-ff00", kMouse, {kInput})};

    EXPECT_TRUE(connection.FindMouse());
    EXPECT_EQ(transport.highestIndexTried, 5);
    EXPECT_TRUE(connection.ReadHandleOpen());
    EXPECT_TRUE(connection.WriteHandleOpen());
}

TEST_F(FindMouseTest, AMissingVendorInterfaceScansAllHundredIndexes) {
    // The result is the match of the last interface the enumeration produced.
    transport.interfaces = {Interface("m-ff00", kMouse, {kInput}),
                            Interface("m-boot", kMouse, {kBoot})};
    EXPECT_TRUE(connection.FindMouse());
    EXPECT_EQ(transport.highestIndexTried, 99);
    EXPECT_TRUE(connection.ReadHandleOpen());
    EXPECT_FALSE(connection.WriteHandleSet());

    ScriptedTransport other;
    other.interfaces = {Interface("m-ff00", kMouse, {kInput}),
                        Interface("kbd", kOther, {kKeyboard})};
    MouseConnection second(other);
    EXPECT_FALSE(second.FindMouse());
    EXPECT_EQ(other.highestIndexTried, 99);
}

TEST_F(FindMouseTest, IndexesFromHundredOnAreNeverTried) {
    transport.interfaces.resize(100);
    transport.interfaces.push_back(Interface("m-ff00", kMouse, {kInput}));
    transport.interfaces.push_back(Interface("m-ff01", kMouse, {kFeature}));

    EXPECT_FALSE(connection.FindMouse());
    EXPECT_EQ(transport.highestIndexTried, 99);
    EXPECT_EQ(transport.Count("register"), 0u);
}

TEST_F(FindMouseTest, AFailedOpenCountsAsSetButNothingGoesThroughIt) {
    UseTypicalMouse();
    transport.failingOpens = {"m-ff01 write"};

    EXPECT_TRUE(connection.FindMouse());
    EXPECT_TRUE(connection.WriteHandleSet());
    EXPECT_FALSE(connection.WriteHandleOpen());
    EXPECT_EQ(transport.highestIndexTried, 4) << "both handles hold a value: the scan stops";

    std::array<uint8_t, kReportBufferSize> buffer{7, 0x20};
    SendBudget budget(kInterfaceSendBudget);
    EXPECT_EQ(connection.SendFeatureReport(buffer, budget), SendOutcome::Refused);
    EXPECT_TRUE(transport.featuresByPath.empty());
}

TEST_F(FindMouseTest, HandlesKeepTheirValuesAcrossScans) {
    UseTypicalMouse();
    ASSERT_TRUE(connection.FindMouse());
    transport.calls.clear();

    // A second scan (after a removal and arrival) opens both interfaces again and closes
    // the handles it replaces.
    EXPECT_TRUE(connection.FindMouse());
    EXPECT_EQ(transport.Count("open m-ff00 read"), 1u);
    EXPECT_EQ(transport.Count("open m-ff01 write"), 1u);
    EXPECT_EQ(transport.Count("close m-ff00 read"), 1u);
    EXPECT_EQ(transport.Count("close m-ff01 write"), 1u);
    EXPECT_EQ(transport.highestIndexTried, 4);

    // A scan that does not meet the write interface leaves the write handle as it was.
    transport.interfaces.erase(transport.interfaces.begin() + 4);
    transport.calls.clear();
    EXPECT_TRUE(connection.FindMouse());
    EXPECT_EQ(transport.Count("close m-ff01 write"), 0u);
    EXPECT_TRUE(connection.WriteHandleOpen());
    EXPECT_EQ(transport.highestIndexTried, 99);
}

TEST_F(FindMouseTest, ANodeHoldingBothVendorCollectionsIsBothInterfaces) {
    // After a boot mouse collection, on the node that also carries the mouse's pointer.
    transport.interfaces = {Interface("kbd0", kOther, {kKeyboard}),
                            Interface("m-kbd", kMouse, {kKeyboard}),
                            Interface("m-all", kMouse, {kBoot, kInput, kFeature}),
                            Interface("m-late", kMouse, {kBoot})};

    EXPECT_TRUE(connection.FindMouse());

    EXPECT_EQ(transport.Count("open m-all read"), 1u);
    EXPECT_EQ(transport.Count("open m-all write"), 1u);
    EXPECT_EQ(transport.highestIndexTried, 2) << "both handles hold a value: the scan stops";
    EXPECT_EQ(connection.ReadCaps(), kInput);
    EXPECT_EQ(connection.WriteCaps(), kFeature);
    std::array<uint8_t, kReportBufferSize> buffer{7, 0x20};
    SendBudget budget(kInterfaceSendBudget);
    EXPECT_EQ(connection.SendFeatureReport(buffer, budget), SendOutcome::Sent);
    EXPECT_EQ(transport.featuresByPath["m-all write"].size(), 1u);
}

// Every report goes out at the collection's longest feature length; what follows the report's
// own bytes is zero whatever the buffer holds there.
TEST_F(FindMouseTest, EveryReportGoesOutAtTheCollectionsLengthZeroPadded) {
    struct Case {
        const char* name;
        std::vector<HidReportLengths> reports;
        uint16_t largest;
        size_t sent;
    };
    const Case cases[] = {
        {"report 7 shorter than the collection's largest", {{7, 0, 8}, {8, 0, 64}}, 64, 64},
        {"report 7 the longest", {{2, 0, 4}, {7, 0, 20}}, 20, 20},
        {"no entry for report 7: the largest", {{8, 0, 12}}, 12, 12},
        {"longer than the buffer: cut to it", {{7, 0, 300}}, 300, kReportBufferSize},
    };
    for (const Case& c : cases) {
        ScriptedTransport scripted;
        HidCaps feature{0xFF01, 0x01, 0, c.largest, c.reports};
        scripted.interfaces = {Interface("m-ff00", kMouse, {kInput}),
                               Interface("m-ff01", kMouse, {feature})};
        MouseConnection link(scripted);
        std::array<uint8_t, kReportBufferSize> buffer{7, 0x20, 1, 2, 3, 4, 5, 6};
        std::fill(buffer.begin() + 8, buffer.end(), uint8_t{0xEE});

        SendBudget budget(kInterfaceSendBudget);
        // Before the scan: no handle, nothing sent.
        EXPECT_EQ(link.SendFeatureReport(buffer, budget), SendOutcome::Refused) << c.name;
        EXPECT_TRUE(scripted.featuresByPath.empty()) << c.name;

        ASSERT_TRUE(link.FindMouse()) << c.name;
        link.SendFeatureReport(buffer, budget);
        const auto& sent = scripted.featuresByPath["m-ff01 write"];
        ASSERT_EQ(sent.size(), 1u) << c.name;
        ASSERT_EQ(sent[0].size(), c.sent) << c.name;
        // A report the collection does not name goes out as the buffer holds it.
        const size_t own =
            feature.FeatureLengthOf(7) != 0 ? feature.FeatureLengthOf(7) : sent[0].size();
        for (size_t i = 0; i < sent[0].size(); ++i) {
            const uint8_t expected = i < own ? buffer[i] : 0;
            EXPECT_EQ(sent[0][i], expected) << c.name << ", byte " << i;
        }
    }
}

TEST_F(FindMouseTest, RemovalOfTheStoredPathRunsTheExitProcedure) {
    UseTypicalMouse();
    ASSERT_TRUE(connection.FindMouse());
    int exits = 0;
    connection.SetRemovalHandler([&] { ++exits; });

    transport.notifications = {{DeviceChange::Kind::Removal, "m-ff00"},
                               {DeviceChange::Kind::Arrival, "M-FF01"}};
    connection.ProcessDeviceChanges();
    EXPECT_EQ(exits, 0) << "another interface's removal and an arrival while connected";
    EXPECT_TRUE(connection.connected());
    EXPECT_EQ(transport.Count("list"), 1u);

    connection.HandleDeviceChange({DeviceChange::Kind::Removal, "M-FF01"});
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(connection.connected());

    // Arrival of the stored path while not connected scans again.
    connection.HandleDeviceChange({DeviceChange::Kind::Arrival, "m-FF01"});
    EXPECT_EQ(transport.Count("list"), 2u);
    EXPECT_TRUE(connection.connected());
}

// A read interface that is gone while its node is not the stored one (the other interface
// may stay, as after a driver rebind) ends the program as the stored node's removal does.
TEST_F(FindMouseTest, LossOfTheReadInterfaceRunsTheExitProcedure) {
    UseTypicalMouse();
    int exits = 0;
    connection.SetRemovalHandler([&] { ++exits; });
    connection.HandleDeviceChange({DeviceChange::Kind::Lost, "m-ff00"});
    EXPECT_EQ(exits, 0) << "before any scan";
    ASSERT_TRUE(connection.FindMouse());
    ASSERT_EQ(connection.DevicePath(), "m-ff01");

    connection.HandleDeviceChange({DeviceChange::Kind::Lost, "m-boot"});
    connection.HandleDeviceChange({DeviceChange::Kind::Lost, "kbd0"});
    EXPECT_EQ(exits, 0) << "another interface";
    EXPECT_TRUE(connection.connected());

    transport.notifications = {{DeviceChange::Kind::Lost, "M-FF00"}};
    connection.ProcessDeviceChanges();
    EXPECT_EQ(exits, 1);
    EXPECT_FALSE(connection.connected());
    connection.HandleDeviceChange({DeviceChange::Kind::Lost, "m-ff00"});
    EXPECT_EQ(exits, 1) << "once";
}

TEST_F(FindMouseTest, NotificationsBeforeAnyScanAreIgnored) {
    int exits = 0;
    connection.SetRemovalHandler([&] { ++exits; });
    connection.HandleDeviceChange({DeviceChange::Kind::Removal, ""});
    connection.HandleDeviceChange({DeviceChange::Kind::Arrival, ""});
    EXPECT_EQ(exits, 0);
    EXPECT_TRUE(transport.calls.empty());
}

} // namespace
} // namespace xk
