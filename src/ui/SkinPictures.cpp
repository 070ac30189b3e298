#include "ui/SkinPictures.h"

#include "ui/layout/SkinPictureNames.h"

namespace xk {

QImage LoadSkinImage(const std::filesystem::path& path) {
    QImage image(QString::fromStdString(path.string()));
    if (image.isNull()) {
        return {};
    }
    return image.convertToFormat(QImage::Format_RGB32);
}

SkinPictures::SkinPictures(std::filesystem::path skinsDir) : skinsDir_(std::move(skinsDir)) {}

std::array<const char*, 3> SkinPictures::PageFileNames(uint8_t page) {
    switch (page) {
    case 1:
        return {"advanced_normal.jpg", "advanced_over.jpg", "advanced_down.jpg"};
    case 2:
        return {"color_normal_pink.jpg", "color_over_red.jpg", "color_down_purple.jpg"};
    default:
        return {"main_normal.jpg", "main_over.jpg", "main_down.jpg"};
    }
}

const PagePictures& SkinPictures::Page(uint8_t page) {
    const size_t index = page < pages_.size() ? page : 0;
    auto& slot = pages_[index];
    if (!slot) {
        const auto names = PageFileNames(static_cast<uint8_t>(index));
        slot =
            PagePictures{LoadSkinImage(skinsDir_ / names[0]), LoadSkinImage(skinsDir_ / names[1]),
                         LoadSkinImage(skinsDir_ / names[2])};
    }
    return *slot;
}

namespace {

const PagePictures& LoadOnce(std::optional<PagePictures>& slot, const std::filesystem::path& dir,
                             std::string_view normal, std::string_view over,
                             std::string_view down) {
    if (!slot) {
        slot = PagePictures{LoadSkinImage(dir / normal), LoadSkinImage(dir / over),
                            down.empty() ? QImage() : LoadSkinImage(dir / down)};
    }
    return *slot;
}

QSize SizeOnce(std::optional<QSize>& slot, const std::filesystem::path& path) {
    if (!slot) {
        slot = LoadSkinImage(path).size();
    }
    return *slot;
}

} // namespace

const PagePictures& SkinPictures::FunctionPopup() {
    using namespace skin_pictures;
    return LoadOnce(functionPopup_, skinsDir_, kMenuNormal, kMenuOver, kMenuDown);
}

const PagePictures& SkinPictures::SubPopup() {
    using namespace skin_pictures;
    return LoadOnce(subPopup_, skinsDir_, kSubMenuNormal, kSubMenuOver, kSubMenuDown);
}

const PagePictures& SkinPictures::Warning() {
    using namespace skin_pictures;
    return LoadOnce(warning_, skinsDir_, kWarningNormal, kWarningOver, {});
}

QSize SkinPictures::FunctionPopupMaskSize() {
    return SizeOnce(functionPopupMask_, skinsDir_ / skin_pictures::kMenuMask);
}

QSize SkinPictures::SubPopupMaskSize() {
    return SizeOnce(subPopupMask_, skinsDir_ / skin_pictures::kSubMenuMask);
}

const QImage& SkinPictures::LedBlue() {
    if (!ledBlue_) {
        ledBlue_ = LoadSkinImage(skinsDir_ / "color_over_blue.jpg");
    }
    return *ledBlue_;
}

const QImage& SkinPictures::LedGray() {
    if (!ledGray_) {
        ledGray_ = LoadSkinImage(skinsDir_ / "color_normal_gray.jpg");
    }
    return *ledGray_;
}

} // namespace xk
