// imageaccess.h - the one place where the paint code reaches into the image
// manager's icon images (qx/images.h): their size, whether a variant exists
// and drawing one variant, or only the image's shape in one colour.
#pragma once

#include <fx/fx.h>
#include <fx/ui.h>

class CQXPIconImage;

namespace qxpimage {

enum Variant {
    kNormal = 0,
    kHot,
    kChecked,  // checked, else hot, else normal
    kPressed,  // pressed, else hot, else normal
    kDisabled, // explicit, else generated
    kFaded,
    kShadow,
};

// The image's size (0 x 0 for NULL).
CSize Extent(CQXPIconImage* pImage);
// TRUE when the image holds an explicit disabled picture.
BOOL HasExplicitDisabled(CQXPIconImage* pImage);
// Draws one variant scaled to sz at pt; FALSE when there is nothing to draw.
BOOL Draw(HDC hdc, CPoint pt, CSize sz, CQXPIconImage* pImage, Variant variant);
// Draws the shape of the normal picture in one colour (embossed looks).
BOOL DrawShape(HDC hdc, CPoint pt, CSize sz, CQXPIconImage* pImage, COLORREF clr);

} // namespace qxpimage
