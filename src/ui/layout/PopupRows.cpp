#include "ui/layout/PopupRows.h"

#include "ui/layout/Element.h"

namespace xk {

bool IsGroupRow(int32_t popupRow) {
    return popupRow >= kDeviceGroupRow && popupRow <= kBuiltInGroupRow;
}

int32_t SubPopupRowsFor(int32_t popupRow, int32_t userMacroCount, int32_t previous) {
    switch (popupRow) {
    case kDeviceGroupRow:
        return 6;
    case kMediaGroupRow:
        return 10;
    case kUserMacroGroupRow:
        return userMacroCount;
    case kBuiltInGroupRow:
        return 8;
    default:
        return previous;
    }
}

std::optional<int32_t> SubPopupCodeBase(int32_t popupRow) {
    switch (popupRow) {
    case kDeviceGroupRow:
        return 10;
    case kMediaGroupRow:
        return 20;
    case kUserMacroGroupRow:
        return 40;
    case kBuiltInGroupRow:
        return 30;
    default:
        return std::nullopt;
    }
}

int32_t SubPopupOffsetRows(int32_t popupRow, int32_t userMacroCount) {
    switch (popupRow) {
    case kDeviceGroupRow:
        return 1;
    case kMediaGroupRow:
        return -2;
    case kUserMacroGroupRow:
        return kUserMacroGroupRow - userMacroCount;
    case kBuiltInGroupRow:
        return 2;
    default:
        return 0;
    }
}

int32_t RowAt(int32_t x, int32_t y, int32_t width, int32_t rowHeight, int32_t rows) {
    if (x < 0 || x >= width || y < 0 || rowHeight <= 0) {
        return kNoElement;
    }
    // Rows are counted from 1; the band's index cannot pass rows, so nothing overflows.
    const int32_t band = y / rowHeight;
    return band < rows ? band + 1 : kNoElement;
}

} // namespace xk
