#pragma once

#include "ui/WindowContext.h"

#include <QImage>
#include <QString>

namespace xk {

// Composes the current page of the main window into one image: the page's normal picture,
// elements by state copied from the over and down pictures, the common elements, then the
// texts.
class SkinPainter {
public:
    explicit SkinPainter(WindowContext context) : c_(context) {}

    QImage Compose(qreal devicePixelRatio = 1.0) const;

    // The text of button slot b (0..7): its function's name, or the user macro's name.
    QString ButtonSlotText(int32_t button) const;

private:
    void DrawElementsByState(QPainter& p, const PagePictures& pics) const;
    void DrawMainPageState(QPainter& p, const PagePictures& pics) const;
    void DrawMacroPageState(QPainter& p, const PagePictures& pics) const;
    void DrawLightPageState(QPainter& p, const PagePictures& pics) const;
    void DrawCommonElements(QPainter& p, const PagePictures& pics) const;
    void DrawTexts(QPainter& p) const;
    QString MacroCaption(int32_t j) const;

    WindowContext c_;
};

// Copies the element's rectangle of `source` onto the target at the same place, unscaled.
void CopyElement(QPainter& target, const QImage& source, const Element& e);

} // namespace xk
