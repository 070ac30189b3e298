#include "ctl/Assignments.h"
#include "settings/ConfigurationFields.h"
#include "settings/SettingsIo.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace xk::ctl {
namespace {

using Pairs = std::vector<std::pair<std::string, std::string>>;

class AssignmentsTest : public testing::Test {
protected:
    AssignmentsTest() {
        table[1] = "Left Click";
        table[2] = "Right Click";
        table[24] = "Volume Up";
        table[25] = "Volume Down";
        table[39] = "Calculator";
        table[41] = "User Macro 1";
        table[42] = "User Macro 2";
        macros.userMacroCount = 1;
        macros.userMacros[0].SetName(u"Burst");
        current.buttonFunction = {1, 2, 3, 5, 4, 16, 15, 13};
        current.dpiLevel = 1;
        current.dpiValue = {4, 6, 8, 10};
        current.dpiEnabled = {1, 1, 1, 1};
        current.fireTime = 50;
    }

    AssignmentsOutcome Apply(const Pairs& pairs) const {
        return ApplyAssignments(current, pairs, names);
    }

    FunctionNameTable table{};
    MacroStore macros;
    FunctionNames names{table, macros};
    Configuration current;
};

TEST_F(AssignmentsTest, AcceptedPairsChangeTheirFieldsOnly) {
    struct Case {
        Pairs pairs;
        std::function<void(Configuration&)> expect;
    };
    const std::vector<Case> cases = {
        {{{"dpi_set1", "11"}, {"Fire_Time", "300"}, {"led_status", "3"}, {"DPI_SPEED", "0"}},
         [](Configuration& c) {
             c.dpiValue[1] = 11;
             c.fireTime = 300;
             c.ledMode = 3;
             c.pointerSpeed = 0;
         }},
        // Functions by name in any case, by the macro's own name and by code.
        {{{"k2", "volume up"}, {"K3", "Burst"}, {"K7", "41"}},
         [](Configuration& c) {
             c.buttonFunction[2] = 24;
             c.buttonFunction[3] = 41;
             c.buttonFunction[7] = 41;
         }},
        // The left button moves within one command.
        {{{"K0", "2"}, {"K1", "1"}},
         [](Configuration& c) {
             c.buttonFunction[0] = 2;
             c.buttonFunction[1] = 1;
         }},
        // The later of two pairs of one key holds.
        {{{"LED_STATUS", "1"}, {"led_status", "2"}}, [](Configuration& c) { c.ledMode = 2; }},
        // Turning off the active level moves it to the next enabled one, as in the window.
        {{{"DPI_SET_EN1", "0"}, {"DPI_SET_EN2", "0"}},
         [](Configuration& c) {
             c.dpiEnabled[1] = 0;
             c.dpiEnabled[2] = 0;
             c.dpiLevel = 3;
         }},
        {{{"DPI_LEVEL", "3"}, {"MACRO_MODE2", "1"}, {"WHEEL_STATUS", "1"}},
         [](Configuration& c) {
             c.dpiLevel = 3;
             c.macroMode = 1;
             c.wheelStatus = 1;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.pairs));
        const AssignmentsOutcome outcome = Apply(c.pairs);
        ASSERT_TRUE(outcome.config) << outcome.error;
        Configuration expected = current;
        c.expect(expected);
        EXPECT_EQ(*outcome.config, expected);
    }
    EXPECT_EQ(Apply({{"DPI_SET_EN1", "0"}}).notes,
              std::vector<std::string>{"DPI_LEVEL moves to 2, the next enabled level"});
}

TEST_F(AssignmentsTest, RefusalsNameTheRangeOrTheCloseMatchesAndChangeNothing) {
    const std::vector<std::pair<Pairs, std::string>> cases = {
        {{{"DPI_SET1", "99"}}, "DPI_SET1: 99 is out of range; DPI_SET1 takes 0..11"},
        {{{"DPI_SET1", "-1"}}, "DPI_SET1 takes 0..11"},
        {{{"FIRE_TIME", "301"}}, "FIRE_TIME takes 0..300"},
        {{{"WHEEL_SPEED", "10"}}, "WHEEL_SPEED takes 0..9"},
        {{{"WHEEL_STATUS", "2"}}, "WHEEL_STATUS takes 0..1"},
        {{{"LED_STATUS", "4"}}, "LED_STATUS takes 0..3"},
        {{{"DPI_LEVEL", "4"}}, "DPI_LEVEL takes 0..3"},
        {{{"LED_STATUS", "one"}}, "'one' is not a number"},
        {{{"LED_STATUS", "99999999999"}}, "not a number"},
        {{{"DPI_SETT1", "5"}}, "unknown key 'DPI_SETT1'; close matches: DPI_SET1"},
        {{{"USB_SPEED", "1"}}, "follows the mouse's report-rate button"},
        {{{"K8", "1"}}, "unknown key 'K8'"},
        {{{"K1", "Volum Up"}}, "K1: unknown function 'Volum Up'; close matches: Volume Up"},
        {{{"K1", "Calculator"}}, "code 39 (Calculator) is not offered for a button"},
        {{{"K1", "0"}}, "code 0 is not offered"},
        {{{"K1", "55"}}, "code 55 is no function code; codes: 1..6, 11..16, 21..38, 41"},
        {{{"K1", "42"}}, "user macro 2, but there are 1 user macros"},
        {{{"K1", "user macro 2"}}, "user macro 2, but there are 1 user macros"},
        {{{"K0", "2"}}, "no button would be Left Click (code 1)"},
        {{{"DPI_SET_EN0", "0"}, {"DPI_SET_EN1", "0"}, {"DPI_SET_EN2", "0"}, {"DPI_SET_EN3", "0"}},
         "no DPI level would be enabled"},
        {{{"DPI_SET_EN2", "0"}, {"DPI_LEVEL", "2"}}, "DPI_LEVEL 2 is not an enabled level"},
        // A good pair before a bad one is not taken either.
        {{{"FIRE_TIME", "10"}, {"DPI_SET1", "12"}}, "DPI_SET1 takes 0..11"},
    };
    for (const auto& [pairs, fragment] : cases) {
        SCOPED_TRACE(testing::PrintToString(pairs));
        const AssignmentsOutcome outcome = Apply(pairs);
        EXPECT_FALSE(outcome.config);
        EXPECT_NE(outcome.error.find(fragment), std::string::npos) << outcome.error;
    }
}

TEST(ConfigurationFields, KeysAndValuesAreThoseOfASavedSection) {
    // Each field gets a value of its own, so a field that reads or writes another one shows.
    Configuration config;
    int32_t next = 0;
    for (const ConfigurationField& field : ConfigurationFields()) {
        SetValue(config, field, field.low + (next++ % (field.high - field.low + 1)));
    }
    Settings settings;
    ApplyConfiguration(settings, config);
    const auto entries = ConfigurationEntries(settings);
    const auto fields = ConfigurationFields();
    ASSERT_EQ(entries.size(), fields.size());
    for (size_t i = 0; i < fields.size(); ++i) {
        EXPECT_EQ(fields[i].key, entries[i].first);
        EXPECT_EQ(std::to_string(ValueOf(config, fields[i])), entries[i].second) << fields[i].key;
        EXPECT_EQ(FindConfigurationField(entries[i].first), &fields[i]);
    }
    EXPECT_EQ(FindConfigurationField("dpi_set_en3"), &fields[18]);
    EXPECT_EQ(FindConfigurationField("DPI_SET_EN"), nullptr);
}

} // namespace
} // namespace xk::ctl
