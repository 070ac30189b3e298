#include "ui/SkinPainter.h"

#include "settings/FunctionCode.h"
#include "settings/Language.h"
#include "settings/TextCodec.h"
#include "ui/Canvas.h"
#include "ui/CentredText.h"
#include "ui/PointerRules.h"
#include "ui/layout/LightElements.h"
#include "ui/layout/MacroElements.h"
#include "ui/layout/MainElements.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace xk {
namespace {

namespace me = main_element;
namespace ae = macro_element;
namespace le = light_element;

const QColor kTextColour(255, 255, 255);
const QColor kHotTextColour(255, 0, 0);
const std::array<QColor, kDpiLevelCount> kLevelColour{QColor(0, 0, 255), QColor(255, 0, 255),
                                                      QColor(255, 0, 0), QColor(128, 0, 255)};

template <size_t N> const Element* At(const std::array<Element, N>& table, int64_t k) {
    return k >= 0 && k < static_cast<int64_t>(N) ? &table[static_cast<size_t>(k)] : nullptr;
}

template <size_t N> QString CaptionAt(const std::array<std::string, N>& table, int64_t k) {
    return k >= 0 && k < static_cast<int64_t>(N)
               ? QString::fromStdString(table[static_cast<size_t>(k)])
               : QString();
}

void Copy(QPainter& p, const QImage& source, const Element* e) {
    if (e != nullptr) {
        CopyElement(p, source, *e);
    }
}

void DrawCentred(QPainter& p, const Element* e, const QString& text, const QColor& colour) {
    if (e != nullptr) {
        DrawCentredText(p, *e, text, colour);
    }
}

} // namespace

void CopyElement(QPainter& target, const QImage& source, const Element& e) {
    if (source.isNull() || e.width <= 0 || e.height <= 0) {
        return;
    }
    const QRect rect(e.x, e.y, e.width, e.height);
    const QRect inside = rect.intersected(source.rect());
    if (!inside.isEmpty()) {
        target.drawImage(inside.topLeft(), source, inside);
    }
}

QImage SkinPainter::Compose(qreal devicePixelRatio) const {
    const PagePictures& pics = c_.pictures.Page(c_.settings.currentPage);
    QSize size(c_.ui.paintWidth, c_.ui.paintHeight);
    if (size.isEmpty()) {
        size = pics.normal.isNull() ? QSize(1, 1) : pics.normal.size();
    }
    QImage image;
    if (pics.normal.size() == size && devicePixelRatio == 1.0) {
        image = pics.normal.copy();
    } else {
        image = Canvas(size, devicePixelRatio);
    }
    QPainter p(&image);
    UseCanvasHints(p);
    if (image.devicePixelRatio() != 1.0 || pics.normal.size() != size) {
        p.drawImage(0, 0, pics.normal);
    }
    DrawElementsByState(p, pics);
    DrawCommonElements(p, pics);
    DrawTexts(p);
    return image;
}

void SkinPainter::DrawElementsByState(QPainter& p, const PagePictures& pics) const {
    const uint8_t page = c_.settings.currentPage;
    const int32_t hot = page == kMainPage    ? c_.ui.hotMainElement
                        : page == kMacroPage ? c_.ui.hotMacroElement
                                             : c_.ui.hotLightElement;
    const Element* hotElement = page == kMainPage    ? At(c_.layout.mainElements, hot)
                                : page == kMacroPage ? At(c_.layout.macroElements, hot)
                                                     : At(c_.layout.lightElements, hot);
    if (hot != kNoElement) {
        if (!c_.ui.pointerPressed) {
            Copy(p, pics.over, hotElement);
        } else if (!(page == kMacroPage && hot == ae::kFireTimeBar)) {
            Copy(p, pics.down, hotElement);
        }
    }
    if (page == kMainPage) {
        DrawMainPageState(p, pics);
    } else if (page == kMacroPage) {
        DrawMacroPageState(p, pics);
    } else if (page == kLightPage) {
        DrawLightPageState(p, pics);
    }
}

void SkinPainter::DrawMainPageState(QPainter& p, const PagePictures& pics) const {
    const auto& E = c_.layout.mainElements;
    const int32_t level = c_.settings.dpiLevel.load();
    if (level >= 0 && level < kDpiLevelCount) {
        Copy(p, pics.down, At(E, me::kFirstDpiLevelButton + level));
    }
    for (int i = 0; i < kDpiLevelCount; ++i) {
        const int filled =
            std::min<int>(c_.settings.dpiValue[static_cast<size_t>(i)], kDpiStepCount - 1);
        for (int s = 0; s <= filled; ++s) {
            const Element* e = At(E, me::kDpiBarFirst + kDpiStepCount * i + s);
            if (e != nullptr && e->width > 2 && e->height > 1) {
                p.fillRect(QRect(e->x + 1, e->y + 1, e->width - 2, e->height - 1),
                           kLevelColour[static_cast<size_t>(i)]);
            }
        }
        if (c_.settings.dpiEnabled[static_cast<size_t>(i)] == 1) {
            Copy(p, pics.down, At(E, me::kFirstDpiEnableSwitch + i));
        }
    }
    Copy(p, pics.down,
         At(E, c_.settings.wheelStatus == 0 ? me::kWheelOffButton : me::kWheelOnButton));
    const int32_t hot = c_.ui.hotMainElement;
    if (hot >= kFirstButtonSlot && hot <= me::kLastButtonSlot) {
        Copy(p, pics.over, At(E, hot + me::kSecondHighlightOffset));
    }
}

void SkinPainter::DrawMacroPageState(QPainter& p, const PagePictures& pics) const {
    const auto& E = c_.layout.macroElements;
    if (c_.macroPage.recorder.recording) {
        Copy(p, pics.down, At(E, ae::kRecordButton));
    }
    if (c_.settings.pointerSpeed < kSpeedStepCount) {
        Copy(p, pics.down, At(E, ae::kFirstPointerSpeedStep + c_.settings.pointerSpeed));
    }
    if (c_.settings.wheelSpeed < kSpeedStepCount) {
        Copy(p, pics.down, At(E, ae::kFirstWheelSpeedStep + c_.settings.wheelSpeed));
    }
    const int32_t fireTime = c_.settings.fireTime;
    if (fireTime >= 0 && fireTime <= kFireTimeMax) {
        Element bar = E[ae::kFireTimeBar];
        bar.width = static_cast<int32_t>(int64_t{bar.width} * fireTime / kFireTimeMax);
        CopyElement(p, pics.down, bar);
    }
    if (c_.settings.macroMode.load() != 0) {
        Copy(p, pics.down, At(E, ae::kMacroModeButton));
    }
    const int32_t current = c_.macroPage.store.currentMacro;
    if (current >= 0 && current < kMacroSlotCount &&
        c_.macroPage.store.userMacros[static_cast<size_t>(current)].repeatEnabled == 1) {
        Copy(p, pics.down, At(E, ae::kRepeatButton));
    }
}

void SkinPainter::DrawLightPageState(QPainter& p, const PagePictures& pics) const {
    const auto& E = c_.layout.lightElements;
    if (c_.settings.ledMode < kLedModeCount) {
        Copy(p, pics.down, At(E, c_.settings.ledMode));
    }
    const Element* preview = At(E, le::kLedPreviewArea);
    if (c_.ui.ledPreviewDark) {
        Copy(p, c_.pictures.LedGray(), preview);
        return;
    }
    switch (c_.ui.ledPreviewColour) {
    case 0:
        Copy(p, c_.pictures.LedBlue(), preview);
        break;
    case 2:
        Copy(p, pics.over, preview);
        break;
    case 3:
        Copy(p, pics.down, preview);
        break;
    default:
        break;
    }
}

void SkinPainter::DrawCommonElements(QPainter& p, const PagePictures& pics) const {
    const auto& E = c_.layout.mainElements;
    const uint8_t page = c_.settings.currentPage;
    const int32_t currentTab = me::kMainTab + page;
    for (int32_t i = 0; i < kCommonElementCount; ++i) {
        const QImage* source = nullptr;
        if (i == int64_t{c_.settings.currentConfig.load()} + 3) {
            source = &pics.down;
        } else if (i == c_.ui.hotMainElement) {
            source = c_.ui.pointerPressed ? &pics.down : &pics.over;
        } else if (i == currentTab) {
            source = &pics.down;
        } else if ((i == me::kChineseButton && !IsEnglish(c_.settings.language)) ||
                   (i == me::kEnglishButton && IsEnglish(c_.settings.language))) {
            source = &pics.down;
        }
        if (source != nullptr) {
            Copy(p, *source, At(E, i));
        }
    }
}

QString SkinPainter::ButtonSlotText(int32_t button) const {
    if (button < 0 || button >= kButtonCount) {
        return {};
    }
    const int32_t code = c_.settings.buttonFunction[static_cast<size_t>(button)].load();
    if (code < 0 || code >= kFunctionCodeCount - 1) {
        return {}; // 54 and above show nothing
    }
    if (code >= kFirstUserMacroCode) {
        const auto& slot =
            c_.macroPage.store.userMacros[static_cast<size_t>(code - kFirstUserMacroCode)];
        const std::u16string name = slot.Name();
        return QString::fromUtf16(name.data(), static_cast<qsizetype>(name.size()));
    }
    return CaptionAt(c_.layout.functionName, code);
}

QString SkinPainter::MacroCaption(int32_t j) const {
    const bool english = IsEnglish(c_.settings.language);
    switch (j) {
    case ae::kRecordButton:
        if (english) {
            return c_.macroPage.recorder.recording ? QStringLiteral("Stop")
                                                   : QStringLiteral("Record");
        }
        return c_.macroPage.recorder.recording ? QStringLiteral("停止") : QStringLiteral("录制");
    case ae::kPressCountText:
        return QStringLiteral("[↓]") + QString::number(c_.macroPage.eventList.pressLineCount);
    case ae::kReleaseCountText:
        return QStringLiteral("[↑]") + QString::number(c_.macroPage.eventList.releaseLineCount);
    case ae::kFireTimeText:
        return QString::number(c_.settings.fireTime) + QStringLiteral("ms");
    default:
        return CaptionAt(c_.layout.macroCaptions, j);
    }
}

void SkinPainter::DrawTexts(QPainter& p) const {
    p.setFont(c_.fonts.For(c_.settings.language));
    p.setBackgroundMode(Qt::TransparentMode);
    const uint8_t page = c_.settings.currentPage;
    const int32_t count = page == kMainPage    ? me::kMainPageTexts
                          : page == kMacroPage ? ae::kMacroPageTexts
                                               : le::kLightPageTexts;
    const QFontMetrics metrics(p.font());
    for (int32_t k = 0; k < count; ++k) {
        if (page == kMainPage && k >= kFirstButtonSlot && k <= me::kLastButtonSlot) {
            const Element& e = c_.layout.mainElements[static_cast<size_t>(k)];
            const QString text = ButtonSlotText(k - kFirstButtonSlot);
            if (!text.isEmpty()) {
                const int64_t y = e.y + (int64_t{e.height} - metrics.height()) / 2;
                p.setPen(k == c_.ui.hotMainElement ? kHotTextColour : kTextColour);
                p.drawText(QPoint(e.x + 5, static_cast<int>(y) + metrics.ascent()), text);
            }
        } else if (k < kCommonElementCount || page == kMainPage) {
            DrawCentred(p, At(c_.layout.mainElements, k), CaptionAt(c_.layout.mainCaptions, k),
                        kTextColour);
        } else if (page == kLightPage) {
            const int32_t j = k - kCommonElementCount;
            QString text = CaptionAt(c_.layout.lightCaptions, j);
            if (j == le::kDpiValueText) {
                const int32_t level = c_.settings.dpiLevel.load();
                text = level >= 0 && level < kDpiLevelCount
                           ? QString::number(DpiDisplayValue(
                                 c_.settings.dpiDeviceCode[static_cast<size_t>(level)]))
                           : QString();
            }
            DrawCentred(p, At(c_.layout.lightElements, j), text, kTextColour);
        } else if (page == kMacroPage) {
            const int32_t j = k - kCommonElementCount;
            DrawCentred(p, At(c_.layout.macroElements, j), MacroCaption(j),
                        j == c_.ui.hotMacroElement ? kHotTextColour : kTextColour);
        }
    }
}

} // namespace xk
