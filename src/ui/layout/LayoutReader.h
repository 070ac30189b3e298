#pragma once

#include "settings/IniDocument.h"
#include "settings/UserMessages.h"
#include "ui/layout/ExitProcedure.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace xk {

inline constexpr size_t kLayoutFieldCount = 7;
// Rows are read with a capacity of 260: at most 259 characters.
inline constexpr size_t kLayoutRowCapacity = 260;

inline constexpr std::string_view kLayoutFileMissingMessage = "找不到配置文件";
inline constexpr std::string_view kLayoutRowErrorMessage = "加载ini错误！";

// The seven fields of one layout row: label or name, x, y, width, height, caption, the rest.
using LayoutRow = std::array<std::string, kLayoutFieldCount>;

struct SplitRow {
    LayoutRow fields;
    bool tooManyCommas = false; // more than six commas: field 7 keeps the later ones
};

// Splits a row at its commas from the left into at most seven fields.
SplitRow SplitLayoutRow(std::string_view text);

// Reads rows of the layout files. A missing file shows "找不到配置文件" once and runs the exit
// procedure; from then on every row of every file reads empty and nothing more is shown.
class LayoutReader {
public:
    LayoutReader(UserMessages& messages, ExitProcedure& exit);

    // The fields of row `index` (key "%d" of it) in `section` of `file`; empty fields where the
    // section or key is missing. A row of more than six commas shows "加载ini错误！".
    LayoutRow ReadLayoutRow(const std::filesystem::path& file, std::string_view section,
                            int32_t index);

    // True once a missing file has ended loading.
    bool Stopped() const { return stopped_; }

    // Drops the file kept from the last reads, so the next read sees the file as it is now.
    void Release();

private:
    const IniDocument* Document(const std::filesystem::path& file);

    UserMessages& messages_;
    ExitProcedure& exit_;
    bool stopped_ = false;
    std::filesystem::path cachedPath_;
    std::optional<IniDocument> cached_; // nothing when the file exists but cannot be read
    bool hasCache_ = false;
};

} // namespace xk
