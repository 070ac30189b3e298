#include "Preview.h"

#include "PageSource.h"
#include "PreviewText.h"
#include "device/MouseProtocol.h"
#include "settings/Decimal.h"
#include "settings/FunctionCode.h"
#include "settings/IniFile.h"
#include "settings/Language.h"
#include "settings/TextCodec.h"
#include "ui/layout/LayoutLoader.h"
#include "ui/layout/LightElements.h"
#include "ui/layout/MacroElements.h"
#include "ui/layout/MainElements.h"
#include "ui/layout/PopupRows.h"
#include "ui/layout/SkinPictureNames.h"

#include <QImage>
#include <QPainter>

#include <array>
#include <string>
#include <vector>

namespace xk::skingen {

namespace {

namespace fs = std::filesystem;
namespace names = skin_pictures;
namespace me = main_element;
namespace ae = macro_element;
namespace le = light_element;

const QColor kWhite(255, 255, 255);
const QColor kRed(255, 0, 0);
const QColor kDesktop(58, 64, 76);
const QColor kLevelColours[4] = {{0, 0, 255}, {255, 0, 255}, {255, 0, 0}, {128, 0, 255}};

// Layout loading failures stop the preview with a message.
class ThrowingShell : public UserMessages, public ExitProcedure {
public:
    void ShowMessage(std::string_view text) override {
        throw SourceError("layout: " + std::string(text));
    }
    void ExitProgram() override {}
};

// A sample state of the program, chosen to show every kind of look at once.
struct SampleState {
    int32_t language = 1;
    int32_t currentConfig = 2;
    std::array<int32_t, 8> buttonFunction{1, 2, 3, 5, 4, 16, 15, 41};
    int32_t dpiLevel = 1;
    std::array<int32_t, 4> dpiValue{4, 6, 8, 10};
    std::array<int32_t, 4> dpiEnabled{1, 1, 1, 0};
    int32_t wheelStatus = 1;
    int32_t macroMode = 1;
    int32_t ledMode = 0;
    int32_t pointerSpeed = 5;
    int32_t wheelSpeed = 2;
    int32_t fireTime = 50;
    bool repeatEnabled = true;
    int32_t hotMain = kNoElement;
    int32_t hotMacro = kNoElement;
    int32_t hotLight = kNoElement;
    bool pressed = false;
};

struct Skin {
    fs::path dir;
    QImage Load(std::string_view name) const {
        QImage image(QString::fromStdString((dir / name).string()));
        if (image.isNull()) {
            throw SourceError((dir / name).string() + ": cannot be decoded");
        }
        return image.convertToFormat(QImage::Format_RGB32);
    }
};

void Copy(QPainter& p, const QImage& from, const Element& e) {
    const QRect r(e.x, e.y, e.width, e.height);
    p.drawImage(r, from, r);
}

// Names of the user macros in a macro file, decoded from the digits of their name bytes.
std::vector<std::string> MacroNames(const fs::path& file) {
    std::vector<std::string> out;
    const int32_t count = ParseDecimal(IniRead(file, "Macros", "macroNum", 3));
    for (int32_t i = 0; i < count; ++i) {
        const std::string digits = IniRead(file, "Macros", std::to_string(i), 3193);
        std::u16string name;
        for (size_t unit = 0; unit < 20 && digits.size() >= unit * 6 + 6; ++unit) {
            const int32_t low = ParseDecimal(digits.substr(unit * 6, 3));
            const int32_t high = ParseDecimal(digits.substr(unit * 6 + 3, 3));
            const auto c = static_cast<char16_t>(low | (high << 8));
            if (c == 0) {
                break;
            }
            name += c;
        }
        out.push_back(Utf8FromUtf16(name));
    }
    return out;
}

QImage ApplyMask(const QImage& image, const QImage& mask) {
    QImage out = image;
    for (int y = 0; y < out.height() && y < mask.height(); ++y) {
        for (int x = 0; x < out.width() && x < mask.width(); ++x) {
            const QRgb m = mask.pixel(x, y);
            if (qRed(m) > 100 && qGreen(m) > 100 && qBlue(m) > 100) {
                out.setPixel(x, y, kDesktop.rgb());
            }
        }
    }
    return out;
}

QImage PaintPage(const Skin& skin, const SkinLayout& l, const SampleState& s, int page,
                 const std::vector<std::string>& macros) {
    static const std::array<std::array<std::string_view, 3>, 3> kSets = {{
        {names::kMainNormal, names::kMainOver, names::kMainDown},
        {names::kAdvancedNormal, names::kAdvancedOver, names::kAdvancedDown},
        {names::kColorNormal, names::kColorOver, names::kColorDown},
    }};
    QImage buffer = skin.Load(kSets[static_cast<size_t>(page)][0]);
    const QImage over = skin.Load(kSets[static_cast<size_t>(page)][1]);
    const QImage down = skin.Load(kSets[static_cast<size_t>(page)][2]);
    QPainter p(&buffer);
    const Element* table = page == 0   ? l.mainElements.data()
                           : page == 1 ? l.macroElements.data()
                                       : l.lightElements.data();
    const int32_t hot = page == 0 ? s.hotMain : page == 1 ? s.hotMacro : s.hotLight;
    if (hot != kNoElement) {
        Copy(p, s.pressed ? down : over, table[hot]);
    }
    if (page == 0) {
        Copy(p, down, l.mainElements[static_cast<size_t>(me::kFirstDpiLevelButton + s.dpiLevel)]);
        for (size_t i = 0; i < 4; ++i) {
            for (int32_t k = 0; k <= s.dpiValue[i]; ++k) {
                const Element& e = l.mainElements[static_cast<size_t>(me::kDpiBarFirst) +
                                                  kDpiStepCount * i + static_cast<size_t>(k)];
                p.fillRect(QRect(e.x + 1, e.y + 1, e.width - 2, e.height - 1), kLevelColours[i]);
            }
            if (s.dpiEnabled[i] == 1) {
                Copy(p, down, l.mainElements[me::kFirstDpiEnableSwitch + i]);
            }
        }
        Copy(p, down,
             l.mainElements[s.wheelStatus == 0 ? me::kWheelOffButton : me::kWheelOnButton]);
        if (s.hotMain >= kFirstButtonSlot && s.hotMain <= me::kLastButtonSlot) {
            Copy(p, over,
                 l.mainElements[static_cast<size_t>(s.hotMain + me::kSecondHighlightOffset)]);
        }
    } else if (page == 1) {
        Copy(p, down,
             l.macroElements[static_cast<size_t>(ae::kFirstPointerSpeedStep + s.pointerSpeed)]);
        Copy(p, down,
             l.macroElements[static_cast<size_t>(ae::kFirstWheelSpeedStep + s.wheelSpeed)]);
        Element bar = l.macroElements[ae::kFireTimeBar];
        bar.width = bar.width * s.fireTime / kFireTimeMax;
        Copy(p, down, bar);
        if (s.macroMode != 0) {
            Copy(p, down, l.macroElements[ae::kMacroModeButton]);
        }
        if (s.repeatEnabled) {
            Copy(p, down, l.macroElements[ae::kRepeatButton]);
        }
    } else {
        Copy(p, down, l.lightElements[static_cast<size_t>(s.ledMode)]);
        Copy(p, skin.Load(names::kColorBlue), l.lightElements[le::kLedPreviewArea]);
    }
    for (int32_t i = 0; i <= me::kLastCommonElement; ++i) {
        const Element& e = l.mainElements[static_cast<size_t>(i)];
        if (i == s.currentConfig + me::kFirstConfigButton - 1) {
            Copy(p, down, e);
        } else if (i == s.hotMain) {
            Copy(p, s.pressed ? down : over, e);
        } else if (i == me::kMainTab + page) {
            Copy(p, down, e);
        } else if ((i == me::kChineseButton && !IsEnglish(s.language)) ||
                   (i == me::kEnglishButton && IsEnglish(s.language))) {
            Copy(p, down, e);
        }
    }

    p.setFont(TextFont(s.language));
    const int32_t n = page == 0   ? me::kMainPageTexts
                      : page == 1 ? ae::kMacroPageTexts
                                  : le::kLightPageTexts;
    std::array<std::string, kMacroElementCount> macroCaptions = l.macroCaptions;
    macroCaptions[ae::kRecordButton] = IsEnglish(s.language) ? "Record" : "录制";
    macroCaptions[ae::kPressCountText] = "[↓]4";
    macroCaptions[ae::kReleaseCountText] = "[↑]4";
    macroCaptions[ae::kFireTimeText] = std::to_string(s.fireTime) + "ms";
    for (int32_t k = 0; k < n; ++k) {
        const auto uk = static_cast<size_t>(k);
        if (page == 0 && k >= kFirstButtonSlot && k <= me::kLastButtonSlot) {
            const int32_t code = s.buttonFunction[static_cast<size_t>(k - kFirstButtonSlot)];
            std::string text;
            if (code >= kFirstUserMacroCode && code <= kLastUserMacroCode) {
                const auto slot = static_cast<size_t>(code - kFirstUserMacroCode);
                text = slot < macros.size() ? macros[slot] : "";
            } else if (code >= 0 && code < kFunctionNameCount) {
                text = l.functionName[static_cast<size_t>(code)];
            }
            DrawLeft(p, l.mainElements[uk], text, k == s.hotMain ? kRed : kWhite);
        } else if (k <= me::kLastCommonElement || page == 0) {
            DrawCentred(p, l.mainElements[uk], l.mainCaptions[uk], kWhite);
        } else if (page == 2) {
            const size_t j = uk - kCommonElementCount;
            const std::string text =
                j == le::kDpiValueText
                    ? std::to_string(DpiDisplayValue(DpiStepCodeOf(
                          static_cast<uint8_t>(s.dpiValue[static_cast<size_t>(s.dpiLevel)]))))
                    : l.lightCaptions[j];
            DrawCentred(p, l.lightElements[j], text, kWhite);
        } else {
            const size_t j = uk - kCommonElementCount;
            DrawCentred(p, l.macroElements[j], macroCaptions[j],
                        static_cast<int32_t>(j) == s.hotMacro ? kRed : kWhite);
        }
    }
    if (page == 1) {
        // The four real controls: black with white text.
        auto control = [&](const Rect& r) {
            const QRect q(r.left, r.top, r.right - r.left, r.bottom - r.top);
            p.fillRect(q, Qt::black);
            return q;
        };
        const QFontMetrics metrics(p.font());
        const QRect list = control(l.macroListRect);
        for (size_t i = 0; i < macros.size(); ++i) {
            const int y = list.top() + 2 + static_cast<int>(i) * metrics.height();
            if (i == 1) {
                p.fillRect(QRect(list.left(), y, list.width(), metrics.height()),
                           QColor(0, 120, 215));
            }
            DrawTextAt(p, list.left() + 3, y, macros[i], kWhite);
        }
        const QRect name = control(l.macroNameEditRect);
        const std::string selected = macros.size() > 1 ? macros[1] : "";
        DrawCentred(p, Element{name.x(), name.y(), name.width(), name.height()}, selected, kWhite);
        const QRect count = control(l.repeatCountEditRect);
        DrawCentred(p, Element{count.x(), count.y(), count.width(), count.height()}, "3", kWhite);
        const QRect events = control(l.eventListRect);
        const char* lines[] = {"[↓] LCONTROL    20ms", "[↓] T           20ms",
                               "[↑] T           20ms", "[↑] LCONTROL    20ms"};
        for (size_t i = 0; i < 4; ++i) {
            DrawTextAt(p, events.left() + 3,
                       events.top() + 2 + static_cast<int>(i) * metrics.height(), lines[i], kWhite);
        }
    }
    p.end();
    return ApplyMask(buffer, skin.Load(names::kMainMask));
}

// The function popup with row `popupRow` under the pointer and the sub-popup it opens.
QImage PaintPopups(const Skin& skin, const SkinLayout& l, const SampleState& s, int32_t popupRow,
                   int32_t subRow, const std::vector<std::string>& macros) {
    const QImage menuMask = skin.Load(names::kMenuMask);
    const QImage subMask = skin.Load(names::kSubMenuMask);
    const int w = menuMask.width();
    const int h = menuMask.height() / kPopupRows;
    const int w2 = subMask.width();
    const int h2 = subMask.height() / kSubPopupMaskRows;
    const auto count = static_cast<int32_t>(macros.size());
    const int32_t rows = SubPopupRowsFor(popupRow, count, 0);
    const int offset = SubPopupOffsetRows(popupRow, count) * h;
    const int popupTop = std::max(0, -offset) + 8;
    const int subTop = popupTop + offset;
    const int subHeight = rows == 0 ? 0 : rows * h2 + 1;
    QImage canvas(w + w2 + 16, std::max(popupTop + kPopupRows * h + 1, subTop + subHeight) + 8,
                  QImage::Format_RGB32);
    canvas.fill(kDesktop);
    QPainter p(&canvas);
    p.setFont(TextFont(s.language));

    QImage menu = skin.Load(names::kMenuNormal).copy(0, 0, w, kPopupRows * h + 1);
    {
        QPainter m(&menu);
        const QRect band(0, (popupRow - 1) * h, w, h);
        m.drawImage(band, skin.Load(names::kMenuOver), band);
        m.setFont(TextFont(s.language));
        for (int32_t i = 1; i <= kPopupRows; ++i) {
            DrawCentred(m, Element{0, (i - 1) * h, w, h}, l.functionName[static_cast<size_t>(i)],
                        i == popupRow ? kRed : kWhite);
        }
    }
    p.drawImage(8, popupTop, menu);

    QImage sub = skin.Load(names::kSubMenuNormal).copy(0, 0, w2, std::max(subHeight, 1));
    {
        QPainter m(&sub);
        const QRect band(0, (subRow - 1) * h2, w2, h2);
        m.drawImage(band, skin.Load(names::kSubMenuOver), band);
        m.setFont(TextFont(s.language));
        const int32_t base = SubPopupCodeBase(popupRow).value_or(0);
        for (int32_t d = 1; d <= rows; ++d) {
            const std::string text = popupRow == kUserMacroGroupRow
                                         ? macros[static_cast<size_t>(d - 1)]
                                         : l.functionName[static_cast<size_t>(base + d)];
            DrawCentred(m, Element{0, (d - 1) * h2, w2, h2}, text, d == subRow ? kRed : kWhite);
        }
    }
    if (subHeight > 0) {
        p.drawImage(8 + w, subTop, sub);
    }
    return canvas;
}

QImage PaintWarning(const Skin& skin, const SkinLayout& l, const SampleState& s) {
    QImage image = skin.Load(names::kWarningNormal);
    QPainter p(&image);
    Copy(p, skin.Load(names::kWarningOver), l.warningElements[0]);
    p.setFont(TextFont(s.language));
    for (size_t i = 0; i < 3; ++i) {
        DrawCentred(p, l.warningElements[i], l.warningCaptions[i], kRed);
    }
    p.end();
    const QImage masked = ApplyMask(image, skin.Load(names::kWarningMask));
    QImage canvas(masked.width() + 32, masked.height() + 32, QImage::Format_RGB32);
    canvas.fill(kDesktop);
    QPainter c(&canvas);
    c.drawImage(16, 16, masked);
    return canvas;
}

void Save(const QImage& image, const fs::path& file) {
    if (!image.save(QString::fromStdString(file.string()), "PNG")) {
        throw SourceError(file.string() + ": cannot be written");
    }
}

} // namespace

void WritePreviews(const fs::path& binDir, const fs::path& previewDir) {
    RegisterFontSubstitutes();
    fs::create_directories(previewDir);
    const Skin skin{binDir / "skins"};
    for (int32_t language : {kLanguageEnglish, kLanguageChinese}) {
        ThrowingShell shell;
        LayoutReader reader(shell, shell);
        SkinLayout layout;
        LoadMainLayout(reader, skin.dir, language, layout);
        LoadLightLayout(reader, skin.dir, language, layout);
        LoadAdvancedLayout(reader, skin.dir, language, layout);
        LoadWarningLayout(reader, skin.dir, language, layout);
        const auto macros =
            MacroNames(binDir / (IsEnglish(language) ? "Macro_EN.dat" : "Macro_CN.dat"));
        const std::string suffix = IsEnglish(language) ? "_en.png" : "_cn.png";

        SampleState state;
        state.language = language;
        state.hotMain = 26;
        Save(PaintPage(skin, layout, state, 0, macros), previewDir / ("page_main" + suffix));
        state.hotMain = kNoElement;
        state.hotMacro = 2;
        Save(PaintPage(skin, layout, state, 1, macros), previewDir / ("page_macro" + suffix));
        state.hotMacro = kNoElement;
        state.hotLight = 1;
        Save(PaintPage(skin, layout, state, 2, macros), previewDir / ("page_light" + suffix));
        Save(PaintPopups(skin, layout, state, kMediaGroupRow, 3, macros),
             previewDir / ("popup_media" + suffix));
        Save(PaintPopups(skin, layout, state, kUserMacroGroupRow, 2, macros),
             previewDir / ("popup_macros" + suffix));
        Save(PaintPopups(skin, layout, state, kDeviceGroupRow, 6, macros),
             previewDir / ("popup_device" + suffix));
        Save(PaintWarning(skin, layout, state), previewDir / ("warning" + suffix));
    }
}

} // namespace xk::skingen
