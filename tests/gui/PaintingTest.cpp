#include "SyntheticSkin.h"

#include <QTest>

#include <gtest/gtest.h>

namespace xk::test {
namespace {

QColor PixelAt(const QImage& image, QPoint p) {
    return image.pixelColor(p);
}

QColor CentreOf(const QImage& image, const Element& e) {
    return PixelAt(image, SyntheticSkin::Centre(e));
}

// How many pixels of the element's rectangle are near the colour.
int CountNear(const QImage& image, const Element& e, QColor colour) {
    int n = 0;
    for (int y = e.y; y < e.y + e.height; ++y) {
        for (int x = e.x; x < e.x + e.width; ++x) {
            n += Near(image.pixelColor(x, y), colour, 40) ? 1 : 0;
        }
    }
    return n;
}

TEST(Painting, HoverShowsOverAndPressShowsDownUntilRelease) {
    SyntheticSkin skin;
    const Element& e = skin.layout.mainElements[42]; // wheel on: not drawn by state
    EXPECT_TRUE(Near(CentreOf(skin.Grab(), e), kMainNormal));
    skin.MoveTo(e);
    EXPECT_EQ(skin.ui.hotMainElement, 42);
    EXPECT_TRUE(Near(CentreOf(skin.Grab(), e), kOver));
    skin.Press(e);
    EXPECT_TRUE(Near(CentreOf(skin.Grab(), e), kDown));
    skin.Release(e);
    EXPECT_FALSE(skin.ui.pointerPressed);
    EXPECT_EQ(skin.settings.wheelStatus, 1); // the press set it
    EXPECT_TRUE(Near(CentreOf(skin.Grab(), e), kDown)) << "wheel on now shows pressed";
}

TEST(Painting, ButtonSlotHoverAlsoLightsItsSecondHighlight) {
    SyntheticSkin skin;
    const auto& M = skin.layout.mainElements;
    skin.MoveTo(M[27]);
    const QImage image = skin.Grab();
    EXPECT_TRUE(Near(CentreOf(image, M[117]), kOver));
    EXPECT_TRUE(Near(CentreOf(image, M[118]), kMainNormal));
}

TEST(Painting, DpiBarsFillValuePlusOneSegmentsInTheLevelColour) {
    SyntheticSkin skin;
    skin.settings.dpiValue = {0, 11, 5, 200};
    skin.window->repaint();
    const QImage image = skin.Grab();
    const auto& M = skin.layout.mainElements;
    const auto segment = [&](int level, int s) {
        return CentreOf(image, M[static_cast<size_t>(66 + 12 * level + s)]);
    };
    EXPECT_EQ(segment(0, 0), QColor(0, 0, 255));
    EXPECT_TRUE(Near(segment(0, 1), kMainNormal));
    for (int s = 0; s < 12; ++s) {
        EXPECT_EQ(segment(1, s), QColor(255, 0, 255)) << s;
        EXPECT_EQ(segment(3, s), QColor(128, 0, 255)) << "out of range fills at most twelve";
    }
    EXPECT_EQ(segment(2, 5), QColor(255, 0, 0));
    EXPECT_TRUE(Near(segment(2, 6), kMainNormal));
    // The fill leaves the element's left and top pixel row.
    const Element& first = M[66];
    EXPECT_TRUE(Near(PixelAt(image, {first.x, first.y}), kMainNormal));
}

TEST(Painting, CommonElementsByConfigurationTabAndLanguage) {
    SyntheticSkin skin;
    skin.settings.currentConfig = 2;
    skin.settings.language = 1;
    skin.window->repaint();
    const QImage image = skin.Grab();
    const auto& M = skin.layout.mainElements;
    EXPECT_TRUE(Near(CentreOf(image, M[5]), kDown)) << "active configuration";
    EXPECT_TRUE(Near(CentreOf(image, M[4]), kMainNormal));
    EXPECT_TRUE(Near(CentreOf(image, M[9]), kDown)) << "tab of the main page";
    EXPECT_TRUE(Near(CentreOf(image, M[10]), kMainNormal));
    EXPECT_TRUE(Near(CentreOf(image, M[18]), kDown)) << "English";
    EXPECT_TRUE(Near(CentreOf(image, M[17]), kMainNormal));
}

TEST(Painting, FireBarShowsItsShareOfTheBarWidth) {
    SyntheticSkin skin;
    skin.window->ShowPage(kMacroPage);
    const Element& bar = skin.layout.macroElements[30];
    const int y = bar.y + bar.height / 2;
    const struct {
        int32_t fireTime;
        int filled;
    } cases[] = {{150, 100}, {1, 0}, {300, 200}, {0, 0}, {301, 0}, {-5, 0}};
    for (const auto& c : cases) {
        skin.settings.fireTime = c.fireTime;
        skin.window->repaint();
        const QImage image = skin.Grab();
        if (c.filled > 0) {
            EXPECT_TRUE(Near(PixelAt(image, {bar.x + c.filled - 1, y}), kDown)) << c.fireTime;
        }
        EXPECT_TRUE(Near(PixelAt(image, {bar.x + c.filled, y}), kMacroNormal)) << c.fireTime;
    }
}

TEST(Painting, PressOnTheFireBarShowsNoPressedPicture) {
    SyntheticSkin skin;
    skin.window->ShowPage(kMacroPage);
    skin.settings.fireTime = 0;
    const Element& bar = skin.layout.macroElements[30];
    QTest::mouseMove(skin.window.get(), {bar.x + 20, bar.y + 5});
    QTest::mousePress(skin.window.get(), Qt::LeftButton, Qt::NoModifier, {bar.x + 20, bar.y + 5});
    EXPECT_EQ(skin.settings.fireTime, 30);
    const QImage image = skin.Grab();
    EXPECT_TRUE(Near(PixelAt(image, {bar.x + 10, bar.y + 5}), kDown)) << "the filled part";
    EXPECT_TRUE(Near(PixelAt(image, {bar.x + 100, bar.y + 5}), kMacroNormal));
}

TEST(Painting, TextUnderThePointerTurnsRed) {
    SyntheticSkin skin;
    skin.settings.buttonFunction[0] = 1;
    skin.window->repaint();
    const Element& slot = skin.layout.mainElements[25];
    const QColor red(255, 0, 0);
    const QColor white(255, 255, 255);
    QImage image = skin.Grab();
    EXPECT_GT(CountNear(image, slot, white), 5);
    EXPECT_EQ(CountNear(image, slot, red), 0);
    skin.MoveTo(slot);
    image = skin.Grab();
    EXPECT_GT(CountNear(image, slot, red), 5);

    skin.window->ShowPage(kMacroPage);
    const Element& save = skin.layout.macroElements[5];
    skin.MoveTo(save);
    EXPECT_EQ(skin.ui.hotMacroElement, 5);
    EXPECT_GT(CountNear(skin.Grab(), save, red), 5);
    skin.MoveTo(skin.layout.macroElements[30]);
    EXPECT_EQ(CountNear(skin.Grab(), save, red), 0);
}

TEST(Painting, ButtonSlotTextNamesFunctionOrUserMacro) {
    SyntheticSkin skin;
    skin.macros.userMacros[0].SetName(u"Combo");
    const struct {
        int32_t code;
        QString text;
    } cases[] = {{2, "Right Button"}, {41, "Combo"}, {0, ""}, {53, ""}, {54, ""}, {-3, ""}};
    for (const auto& c : cases) {
        skin.settings.buttonFunction[3] = c.code;
        EXPECT_EQ(skin.window->Painter().ButtonSlotText(3), c.text) << c.code;
    }
    skin.macros.userMacros[0].SetName(u"Renamed");
    skin.settings.buttonFunction[3] = 41;
    EXPECT_EQ(skin.window->Painter().ButtonSlotText(3), QString("Renamed"));
}

TEST(Painting, OutOfRangeValuesDrawNothing) {
    SyntheticSkin skin;
    skin.settings.dpiLevel = 7;
    skin.settings.currentConfig = 99;
    skin.settings.wheelStatus = 5;
    skin.window->repaint();
    QImage image = skin.Grab();
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(Near(CentreOf(image, skin.layout.mainElements[static_cast<size_t>(54 + i)]),
                         kMainNormal));
    }
    skin.window->ShowPage(kLightPage);
    skin.settings.ledMode = 9;
    skin.ui.ledPreviewColour = 17;
    skin.ui.ledPreviewDark = false;
    skin.window->repaint();
    image = skin.Grab();
    for (int j = 0; j < 4; ++j) {
        EXPECT_TRUE(
            Near(CentreOf(image, skin.layout.lightElements[static_cast<size_t>(j)]), kLightNormal));
    }
    skin.window->ShowPage(kMacroPage);
    skin.settings.pointerSpeed = 10;
    skin.settings.wheelSpeed = 255;
    skin.macros.currentMacro = 40;
    skin.window->repaint();
    image = skin.Grab();
    for (int j = 8; j < 28; ++j) {
        EXPECT_TRUE(
            Near(CentreOf(image, skin.layout.macroElements[static_cast<size_t>(j)]), kMacroNormal));
    }
}

TEST(Painting, LedPreviewPictureByColourAndDark) {
    SyntheticSkin skin;
    skin.window->ShowPage(kLightPage);
    const Element& preview = skin.layout.lightElements[11];
    const struct {
        int32_t colour;
        bool dark;
        QColor want;
    } cases[] = {{0, false, kLedBlue},
                 {1, false, kLightNormal},
                 {2, false, kOver},
                 {3, false, kDown},
                 {2, true, kLedGray}};
    for (const auto& c : cases) {
        skin.ui.ledPreviewColour = c.colour;
        skin.ui.ledPreviewDark = c.dark;
        skin.window->repaint();
        EXPECT_TRUE(Near(CentreOf(skin.Grab(), preview), c.want)) << c.colour << c.dark;
    }
}

TEST(Painting, WindowTakesTheMaskOutlineAndSize) {
    SyntheticSkin skin;
    EXPECT_EQ(skin.window->size(), QSize(kSkinWidth, kSkinHeight));
    const QRegion mask = skin.window->mask();
    EXPECT_TRUE(mask.contains(QPoint(10, 10)));
    EXPECT_FALSE(mask.contains(QPoint(kSkinWidth - 10, 10)));
    EXPECT_TRUE(mask.contains(QPoint(kSkinWidth - 10, 60)));
    EXPECT_FALSE(skin.window->MacroRepaintRegion().contains(QPoint(20, 210))) << "macro list";
    EXPECT_TRUE(skin.window->MacroRepaintRegion().contains(QPoint(20, 150))) << "repeat edit";
}

} // namespace
} // namespace xk::test
