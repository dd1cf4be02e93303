#pragma once

#include <QFont>

// The window's face at a size in pixels: 11 for the layout's 8.25 points and 13 for its 9.75
// points at 96 dots per inch. Pixel sizes keep the text in proportion to the pixel geometry
// whatever DPI the display reports. Where "MS Sans Serif" is missing, the fallbacks have metrics
// narrow enough that no caption is clipped.
QFont windowFont(int pixelSize, bool bold = false);
