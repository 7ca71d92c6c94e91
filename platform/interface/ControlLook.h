#ifndef _KX_CONTROL_LOOK_H
#define _KX_CONTROL_LOOK_H

// The colours that menus and buttons share, so that every control of the
// desktop looks alike.

#include <GraphicsDefs.h>

namespace BPrivate {

const rgb_color kPanelColor = { 216, 216, 216, 255 };
const rgb_color kMenuColor = { 219, 219, 219, 255 };
const rgb_color kMenuSelectedColor = { 168, 168, 168, 255 };
const rgb_color kLightEdgeColor = { 255, 255, 255, 255 };
const rgb_color kShadowColor = { 152, 152, 152, 255 };
const rgb_color kDarkEdgeColor = { 96, 96, 96, 255 };
const rgb_color kLabelColor = { 0, 0, 0, 255 };
// Marks the control that has the keyboard's focus.
const rgb_color kFocusColor = { 0, 0, 229, 255 };

} // namespace BPrivate

#endif
