#include "platform/GnomeSystemSettings.h"

#include <gio/gio.h>
#include <gtest/gtest.h>

#include <cstdlib>

namespace xk {
namespace {

// GSettings in memory, with the schemas of the system (gsettings-desktop-schemas).
class GnomeSystemSettingsTest : public testing::Test {
protected:
    void SetUp() override {
        ::setenv("GSETTINGS_BACKEND", "memory", 1);
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        GSettingsSchema* schema =
            source != nullptr ? g_settings_schema_source_lookup(source, kGnomeMouseSchema, TRUE)
                              : nullptr;
        if (schema == nullptr) {
            GTEST_SKIP() << "gsettings-desktop-schemas is not installed";
        }
        g_settings_schema_unref(schema);
        mouse_ = g_settings_new(kGnomeMouseSchema);
        g_settings_reset(mouse_, "speed");
    }
    void TearDown() override {
        if (mouse_ != nullptr) {
            g_object_unref(mouse_);
        }
    }

    GSettings* mouse_ = nullptr;
};

TEST_F(GnomeSystemSettingsTest, SpeedIsGnomesMouseSpeed) {
    GnomeSystemSettings system;
    EXPECT_EQ(system.PointerSpeed(), 10) << "GNOME's default speed 0";
    system.SetPointerSpeed(18);
    EXPECT_DOUBLE_EQ(g_settings_get_double(mouse_, "speed"), 0.8);
    EXPECT_EQ(system.PointerSpeed(), 18);
    system.SetPointerSpeed(1);
    EXPECT_DOUBLE_EQ(g_settings_get_double(mouse_, "speed"), -1.0);
    // Set by GNOME's own settings: read as the nearest speed.
    g_settings_set_double(mouse_, "speed", 0.47);
    EXPECT_EQ(system.PointerSpeed(), 15);
    EXPECT_FALSE(system.WheelScrollLines()) << "GNOME has no wheel lines setting";
}

TEST_F(GnomeSystemSettingsTest, ThePersonsSpeedComesBackExactly) {
    g_settings_set_double(mouse_, "speed", 0.6);
    GnomeSystemSettings system;
    const std::optional<std::string> own = system.PointerSetting();
    ASSERT_TRUE(own);
    system.SetPointerSpeed(10);
    for (const char* refused :
         {"gnome 2", "gnome nan", "gnome", "gnome 0.1 0.2", "x11 3 2 6", "gnome 0.5x"}) {
        system.RestorePointerSetting(refused);
        EXPECT_DOUBLE_EQ(g_settings_get_double(mouse_, "speed"), 0.0) << refused;
    }
    system.RestorePointerSetting(*own);
    EXPECT_EQ(g_settings_get_double(mouse_, "speed"), 0.6);
    EXPECT_FALSE(GnomeSystemSettings("org.example.not-installed").PointerSetting());
}

TEST_F(GnomeSystemSettingsTest, WithoutTheSchemaOrItsKeyNothingIsSet) {
    // A schema that is not installed would end the program if it were opened unchecked.
    GnomeSystemSettings missing("org.example.not-installed");
    EXPECT_FALSE(missing.PointerSpeed());
    missing.SetPointerSpeed(18);
    // An installed schema without the key.
    GnomeSystemSettings keyboard("org.gnome.desktop.peripherals.keyboard");
    EXPECT_FALSE(keyboard.PointerSpeed());
    keyboard.SetPointerSpeed(18);
    EXPECT_DOUBLE_EQ(g_settings_get_double(mouse_, "speed"), 0.0);
}

} // namespace
} // namespace xk
