#pragma once

#include <QImage>
#include <QSize>
#include <QString>

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>

namespace xk {

// A JPEG (or any picture Qt reads) decoded into a 32-bit image; a null image when the file
// cannot be read or decoded.
QImage LoadSkinImage(const std::filesystem::path& path);

struct PagePictures {
    QImage normal;
    QImage over;
    QImage down;
};

// The skin pictures of the main window, decoded once on first use and kept.
class SkinPictures {
public:
    explicit SkinPictures(std::filesystem::path skinsDir);

    const PagePictures& Page(uint8_t page);
    // The function popup's, the sub-popup's and the warning's pictures (the warning has no
    // down picture), and the popups' masks, which give only their size.
    const PagePictures& FunctionPopup();
    const PagePictures& SubPopup();
    const PagePictures& Warning();
    QSize FunctionPopupMaskSize();
    QSize SubPopupMaskSize();
    const QImage& LedBlue();
    const QImage& LedGray();
    const std::filesystem::path& SkinsDir() const { return skinsDir_; }

    static std::array<const char*, 3> PageFileNames(uint8_t page);

private:
    std::filesystem::path skinsDir_;
    std::array<std::optional<PagePictures>, 3> pages_;
    std::optional<PagePictures> functionPopup_;
    std::optional<PagePictures> subPopup_;
    std::optional<PagePictures> warning_;
    std::optional<QSize> functionPopupMask_;
    std::optional<QSize> subPopupMask_;
    std::optional<QImage> ledBlue_;
    std::optional<QImage> ledGray_;
};

} // namespace xk
