#include "ui/layout/LayoutReader.h"

#include "settings/IniFile.h"
#include "settings/TextCodec.h"

#include <system_error>

namespace xk {

SplitRow SplitLayoutRow(std::string_view text) {
    SplitRow row;
    size_t field = 0;
    size_t start = 0;
    size_t commas = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != ',') {
            continue;
        }
        ++commas;
        if (field < kLayoutFieldCount - 1) {
            row.fields[field++] = std::string(text.substr(start, i - start));
            start = i + 1;
        }
    }
    row.fields[field] = std::string(text.substr(start));
    row.tooManyCommas = commas > kLayoutFieldCount - 1;
    return row;
}

LayoutReader::LayoutReader(UserMessages& messages, ExitProcedure& exit)
    : messages_(messages), exit_(exit) {}

void LayoutReader::Release() {
    hasCache_ = false;
    cached_.reset();
    cachedPath_.clear();
}

const IniDocument* LayoutReader::Document(const std::filesystem::path& file) {
    if (!hasCache_ || cachedPath_ != file) {
        std::error_code ec;
        if (!std::filesystem::exists(file, ec)) {
            Release();
            stopped_ = true;
            messages_.ShowMessage(kLayoutFileMissingMessage);
            exit_.ExitProgram();
            return nullptr;
        }
        cached_ = LoadIniDocument(file);
        cachedPath_ = file;
        hasCache_ = true;
    }
    return cached_ ? &*cached_ : nullptr;
}

LayoutRow LayoutReader::ReadLayoutRow(const std::filesystem::path& file, std::string_view section,
                                      int32_t index) {
    if (stopped_) {
        return {};
    }
    const IniDocument* doc = Document(file);
    if (doc == nullptr) {
        return {};
    }
    const auto value = doc->Get(section, std::to_string(index));
    if (!value) {
        return {};
    }
    SplitRow row = SplitLayoutRow(TruncateUtf16Units(*value, kLayoutRowCapacity - 1));
    if (row.tooManyCommas) {
        messages_.ShowMessage(kLayoutRowErrorMessage);
    }
    return std::move(row.fields);
}

} // namespace xk
