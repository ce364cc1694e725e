// The cards of the window background in design pixels of the 999 x 640 window: the skin
// generator draws them, and every control the layout pass shows sits inside one of them. Plain
// numbers, so that the generator, which links no widgets, reads the same rectangles.
#pragma once

namespace mc::cards {

struct Box
{
    int x, y, w, h;
    constexpr int right() const { return x + w; }
    constexpr int bottom() const { return y + h; }
};

// What the window is made of. The strip left of it is transparent and not part of the window,
// so that the gutter around the cards is the same on every side.
constexpr Box kShape{44, 0, 955, 640};
constexpr int kShapeRadius = 16;
constexpr int kHeaderBottom = 74; // logo, mouse selector, language and window buttons above
constexpr Box kSideColumn{55, 80, 177, 486}; // the tab buttons
constexpr Box kContent{272, 80, 716, 486};   // the panels and the product pictures
constexpr Box kBottomBar{55, 574, 933, 56};  // battery, receiver, reset/load/save, "Apply"
constexpr int kCardRadius = 8;
// The least room between the edge of the side column or the content card and a control on it
// (the bottom bar's icons, placed by the layout close to its edges, only stay off its border).
constexpr int kCardMargin = 6;

} // namespace mc::cards
