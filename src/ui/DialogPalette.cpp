#include "ui/DialogPalette.h"

#include <QColor>

namespace xk {
namespace {

constexpr QColor kPanel{19, 21, 33};
constexpr QColor kField{11, 13, 21};
constexpr QColor kButton{43, 45, 66};
constexpr QColor kText{206, 207, 209};
constexpr QColor kDimText{110, 113, 128};
constexpr QColor kTeal{11, 69, 83};
constexpr QColor kBrightTeal{64, 190, 214};
constexpr QColor kViolet{97, 28, 121};
constexpr QColor kLightViolet{190, 120, 230};

} // namespace

QPalette SkinDialogPalette() {
    QPalette palette;
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Window, kPanel);
        palette.setColor(group, QPalette::WindowText, kText);
        palette.setColor(group, QPalette::Base, kField);
        palette.setColor(group, QPalette::AlternateBase, kPanel);
        palette.setColor(group, QPalette::Text, kText);
        palette.setColor(group, QPalette::Button, kButton);
        palette.setColor(group, QPalette::ButtonText, kText);
        palette.setColor(group, QPalette::BrightText, Qt::white);
        palette.setColor(group, QPalette::ToolTipBase, kButton);
        palette.setColor(group, QPalette::ToolTipText, kText);
        palette.setColor(group, QPalette::PlaceholderText, kDimText);
        palette.setColor(group, QPalette::Highlight, kTeal);
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::Link, kBrightTeal);
        palette.setColor(group, QPalette::LinkVisited, kLightViolet);
        palette.setColor(group, QPalette::Light, kButton.lighter(150));
        palette.setColor(group, QPalette::Midlight, kButton.lighter(125));
        palette.setColor(group, QPalette::Mid, kButton.darker(120));
        palette.setColor(group, QPalette::Dark, kField);
        palette.setColor(group, QPalette::Shadow, Qt::black);
    }
    palette.setColor(QPalette::Disabled, QPalette::Window, kPanel);
    palette.setColor(QPalette::Disabled, QPalette::Base, kPanel);
    palette.setColor(QPalette::Disabled, QPalette::Button, kButton);
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
        palette.setColor(QPalette::Disabled, role, kDimText);
    }
    palette.setColor(QPalette::Disabled, QPalette::Highlight, kViolet);
    palette.setColor(QPalette::Disabled, QPalette::HighlightedText, kDimText);
    return palette;
}

} // namespace xk
