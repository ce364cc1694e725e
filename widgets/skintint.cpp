// Accent recolouring of skin images.
//
// Every pixel is taken as grey + t x accent, with t found by projecting the pixel's colour
// (minus its grey part) onto the accent's; the greys of the skin carry next to no colour, so t
// comes out as the share of accent the painter blended in. A pixel whose colour is not along
// the accent's (a green arrow, a photo's red) keeps its colour: what is left after taking t x
// accent away must still be grey.
#include "widgets/skintint.h"

#include "widgets/themecolours.h"

#include <algorithm>
#include <cmath>

namespace mc {

namespace {

// Below this share of accent a pixel is left alone: its colour is noise, not a blend.
constexpr double kMinShare = 0.03;
// How far (in colour units of an opaque pixel) the remainder may stray from grey; the skin's
// greys lean towards blue by up to about 10.
constexpr double kGreyTolerance = 24.0;

} // namespace

QColor skinAccent()
{
    const ThemeRgb a = themeRgbAt(kSkinAccentEntry);
    return QColor(a.r, a.g, a.b);
}

QImage tintAccent(const QImage &image, const QColor &to)
{
    const QColor from = skinAccent();
    if (image.isNull() || to.rgb() == from.rgb())
        return image;
    QImage out = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);

    // The accent's colour part (the accent minus its grey): its three parts sum to zero, so
    // the projection of a pixel needs no grey part of its own taken off first.
    const double mean = (from.red() + from.green() + from.blue()) / 3.0;
    const double cr = from.red() - mean;
    const double cg = from.green() - mean;
    const double cb = from.blue() - mean;
    const double norm2 = cr * cr + cg * cg + cb * cb;
    const double dr = to.red() - from.red();
    const double dg = to.green() - from.green();
    const double db = to.blue() - from.blue();

    for (int y = 0; y < out.height(); ++y) {
        QRgb *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb px = line[x];
            const int a = qAlpha(px);
            if (a == 0)
                continue;
            // Premultiplied throughout: u is the accent's share times the pixel's opacity.
            const double r = qRed(px), g = qGreen(px), b = qBlue(px);
            const double opacity = a / 255.0;
            double u = (r * cr + g * cg + b * cb) / norm2;
            if (u < kMinShare * opacity)
                continue;
            u = std::min(u, opacity);
            const double m = (r + g + b) / 3.0;
            const double er = r - m - u * cr, eg = g - m - u * cg, eb = b - m - u * cb;
            const double tolerance = kGreyTolerance * opacity + 2.0; // + rounding of the bytes
            if (er * er + eg * eg + eb * eb > tolerance * tolerance)
                continue;
            const auto channel = [a](double v) {
                return int(std::lround(std::clamp(v, 0.0, double(a))));
            };
            line[x] = qRgba(channel(r + u * dr), channel(g + u * dg), channel(b + u * db), a);
        }
    }
    return out;
}

} // namespace mc
