// The skin is drawn once, with its accents in one theme colour; the user's Config/GColorID may
// choose another. Recolouring the images as they are read keeps one skin on disk and costs a
// pass over the pixels only when the chosen colour differs from the one the skin was drawn in.
// Pure image code: any thread.
#pragma once

#include <QColor>
#include <QImage>

namespace mc {

// The colour the skin's accents are drawn in (entry kSkinAccentEntry of the theme table).
QColor skinAccent();

// image with its accent recoloured to `to`: a pixel that is a blend of a neutral grey and the
// skin's accent (antialiased edges, glows, gradients, darker shades) becomes the same blend of
// that grey and `to`; every other pixel stays as drawn. Returns the image unchanged when `to` is
// the skin's accent; otherwise the result is premultiplied ARGB32.
QImage tintAccent(const QImage &image, const QColor &to);

} // namespace mc
