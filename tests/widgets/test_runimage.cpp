// The window's background held as runs: it must draw, shape and convert back exactly as the
// pixels it was made from, for any clip, and give up on images runs would not make smaller.
#include "widgets/runimage.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

using namespace mc;

namespace {

QImage drawnThrough(const RunImage &runs, const QRect &clip)
{
    QImage out(runs.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    runs.paint(p, clip);
    return out;
}

QImage drawnDirectly(const QImage &img, const QRect &clip)
{
    QImage out(img.size(), QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter p(&out);
    p.drawImage(clip.topLeft(), img, clip);
    return out;
}

// Colour channels may differ by one where a half-transparent pixel was taken apart and
// premultiplied again.
bool samePixels(const QImage &a, const QImage &b)
{
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            if (qAbs(qRed(p) - qRed(q)) > 1 || qAbs(qGreen(p) - qGreen(q)) > 1
                || qAbs(qBlue(p) - qBlue(q)) > 1 || qAlpha(p) != qAlpha(q)) {
                qWarning("pixel %d,%d: %08x against %08x", x, y, p, q);
                return false;
            }
        }
    }
    return true;
}

} // namespace

class TestRunImage : public QObject
{
    Q_OBJECT
private slots:
    void backgroundIsSmallAndExact()
    {
        const QImage decoded(QStringLiteral(MC_BIN_DIR "/skin/cfgMainback.png"));
        const QImage img = decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QVERIFY(!img.isNull());
        const RunImage runs(img);
        QVERIFY(runs.heldAsRuns());
        // Straight from the decoder (not premultiplied), the runs come to the same pixels.
        QCOMPARE(decoded.format(), QImage::Format_ARGB32);
        QCOMPARE(RunImage(decoded).toImage(), img);
        QVERIFY2(runs.byteCount() * 20 < img.sizeInBytes(), "runs barely smaller than pixels");
        QCOMPARE(runs.toImage(), img);
        for (const QRect &clip : {QRect(QPoint(0, 0), img.size()), QRect(37, 5, 301, 90),
                                  QRect(img.width() - 20, img.height() - 30, 50, 50)})
            QVERIFY(samePixels(drawnThrough(runs, clip), drawnDirectly(img, clip)));
        // The shape: exactly the pixels at least half opaque.
        const QRegion shape = runs.opaqueRegion();
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                QVERIFY(shape.contains(QPoint(x, y)) == (qAlpha(img.pixel(x, y)) >= 128));
    }

    void noiseStaysPixels()
    {
        QImage img(64, 48, QImage::Format_ARGB32_Premultiplied);
        QRandomGenerator rng(7);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                img.setPixel(x, y, qPremultiply(rng.generate() | 0xFF000000u));
        const RunImage runs(img);
        QVERIFY(!runs.heldAsRuns());
        QCOMPARE(runs.toImage(), img);
        QVERIFY(samePixels(drawnThrough(runs, QRect(3, 4, 20, 30)), drawnDirectly(img, QRect(3, 4, 20, 30))));
        QVERIFY(RunImage(QImage()).isNull());
        // Straight and half transparent: held as pixels, premultiplied like the rest.
        QImage straight(img.size(), QImage::Format_ARGB32);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                straight.setPixel(x, y, (rng.generate() & 0x00FFFFFFu) | 0x80000000u);
        QCOMPARE(RunImage(straight).toImage(),
                 straight.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
};

QTEST_MAIN(TestRunImage)
#include "test_runimage.moc"
