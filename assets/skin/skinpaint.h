// Shared drawing helpers of the skin generator: a canvas drawn in design pixels at a chosen
// density, the palette of the dark look, and a few shapes every image uses.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>

namespace mc::skin {

// Images that the program stretches into scaled rectangles are drawn at twice their design
// size, so they stay sharp up to a scale factor of 2; images used at their natural size
// (style-sheet indicators, list icons, the window background) at design size.
// A stretched image carries its design size in the PNG text entry kDesignSizeKey ("WxH"), so
// the program can hold it at design size times its own scale factor instead of whole.
constexpr int kStretched = 2;
constexpr int kNatural = 1;

namespace colours {
const QColor kWindow(21, 22, 26);
const QColor kWindowDeep(13, 14, 17);
const QColor kPanel(28, 29, 35);
const QColor kPanelHi(36, 38, 45);
const QColor kBorder(52, 54, 62);
const QColor kBorderHi(78, 80, 90);
const QColor kText(200, 200, 200);
const QColor kTextDim(120, 122, 130);
QColor accent(); // kSkinAccentEntry unless setAccentEntry chose another
QColor accent(int alpha);
QColor accentDark(int div); // accent with every component divided
} // namespace colours

// Must match the key the program reads (widgets/theme.cpp).
constexpr char kDesignSizeKey[] = "DesignSize";
void setDesignSize(QImage &image, int designW, int designH);

class Canvas
{
public:
    Canvas(int designW, int designH, int density);
    QPainter &p() { return m_painter; }
    QImage image(); // ends painting
    bool save(const QString &dir, const QString &name);
    // Large pictures: the drawing as name@2x and a copy at the design size as name; counts as
    // one image written.
    bool saveWithLarge(const QString &dir, const QString &name);

private:
    QImage m_image;
    QPainter m_painter;
    int m_designW;
    int m_designH;
    int m_density;
};

// The program expects the skin in kSkinAccentEntry and recolours it to the chosen theme entry;
// a skin drawn in another entry is what that recolouring must come to.
void setAccentEntry(int entry);

// Writes an image file whole or not at all (its folder made first); false when it failed.
// Failures are counted, so the generator can end with an error rather than report success.
bool writeImage(const QImage &image, const QString &path, const char *format = "PNG");
int imageWriteFailures();
QPainterPath roundedRect(const QRectF &r, qreal radius);
void fillRounded(QPainter &p, const QRectF &r, qreal radius, const QBrush &fill,
                 const QColor &border = QColor(), qreal borderWidth = 1.0);
QFont skinFont(qreal pixelSize, bool bold = false);

// Each part of the skin writes its images into dir and returns how many it wrote.
int writeWindowImages(const QString &dir);
int writeButtonImages(const QString &dir);
int writeIconImages(const QString &dir);
int writeProductImages(const QString &dir, const QString &productName);
bool writeLoadingGif(const QString &path);
// The program's icon for the desktop's icon theme: hicolorDir/NxN/apps/iconName.png.
int writeDesktopIcons(const QString &hicolorDir, const QString &iconName);

} // namespace mc::skin
