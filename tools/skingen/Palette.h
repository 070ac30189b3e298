#pragma once

#include <QColor>

namespace xk::skingen::palette {

// Body and surfaces: near-black blue-grey.
inline const QColor kBackdrop{10, 12, 17};
inline const QColor kBodyTop{27, 32, 45};
inline const QColor kBodyBottom{16, 19, 26};
inline const QColor kBand{19, 23, 34};
inline const QColor kPanel{21, 26, 37};
inline const QColor kPanelEdge{37, 45, 64};
inline const QColor kPanelHighlight{46, 56, 80};
inline const QColor kEdge{46, 55, 76};
inline const QColor kFaceTop{37, 45, 62};
inline const QColor kFaceBottom{27, 33, 48};
inline const QColor kFaceEdge{52, 62, 85};
inline const QColor kFaceHighlight{61, 72, 99};
inline const QColor kRecess{14, 17, 25};
inline const QColor kRecessEdge{44, 53, 73};
inline const QColor kMuted{120, 131, 155};

// Over: one cool accent.
inline const QColor kCyan{34, 211, 238};
inline const QColor kCyanDeep{14, 85, 102};
inline const QColor kCyanFaceTop{33, 56, 74};
inline const QColor kCyanFaceBottom{24, 40, 56};

// Down: the warm accent.
inline const QColor kMagenta{217, 70, 239};
inline const QColor kMagentaDeep{91, 20, 112};
inline const QColor kMagentaFaceTop{64, 22, 80};
inline const QColor kMagentaFaceBottom{42, 15, 54};
inline const QColor kPressedTop{16, 20, 30};
inline const QColor kPressedBottom{24, 28, 41};

inline const QColor kRecordRed{239, 48, 56};

// The colours of DPI levels 0..3, as the program fills the DPI bars.
inline const QColor kLevelColours[4] = {{0, 0, 255}, {255, 0, 255}, {255, 0, 0}, {128, 0, 255}};

// LED preview colours of the light page's pictures.
inline const QColor kLedPink{255, 92, 178};
inline const QColor kLedRed{255, 42, 42};
inline const QColor kLedPurple{150, 64, 255};
inline const QColor kLedBlue{40, 96, 255};
inline const QColor kLedUnlit{58, 62, 72};

// A colour with another alpha.
inline QColor WithAlpha(QColor colour, int alpha) {
    colour.setAlpha(alpha);
    return colour;
}

} // namespace xk::skingen::palette
