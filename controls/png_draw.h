#pragma once
// Drawing a decoded PNG picture with its transparency, as the menu trees and the icon
// pickers show the pictures of dynamic items.

#include <windows.h>

namespace orvane {

class TPngImage;

// Draws `image` with its top-left corner at x, y; at its own size, or scaled down to fit
// `maxWidth` by `maxHeight` (keeping its proportions) when those are given and smaller.
void DrawPng(HDC dc, int x, int y, const TPngImage& image, int maxWidth = 0, int maxHeight = 0);

}  // namespace orvane
