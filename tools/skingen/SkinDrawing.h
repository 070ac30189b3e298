#pragma once

#include "SkinSources.h"

#include <QImage>

#include <filesystem>
#include <string>
#include <vector>

namespace xk::skingen {

struct Picture {
    std::string name; // file name in the skins directory
    QImage image;
    bool mask = false; // written at the highest quality, so the outline keeps its pixels
};

// Every skin picture: the main mask, the three page sets and the two LED extras, the popups and
// the warning dialog.
std::vector<Picture> DrawSkinPictures(const SkinSources& sources);
// Writes the pictures as JPEG into skinsDir.
void WritePictures(const std::vector<Picture>& pictures, const std::filesystem::path& skinsDir);

} // namespace xk::skingen
