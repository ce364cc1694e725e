// Recolouring the skin's accent: the shipped skin recoloured to a theme entry must look like the
// same skin drawn in that entry, and colours that are not the accent stay as drawn.
#include "widgets/skintint.h"
#include "widgets/themecolours.h"

#include <QDirIterator>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace mc;

namespace {

QColor entryColour(int entry)
{
    const ThemeRgb t = themeRgbAt(entry);
    return QColor(t.r, t.g, t.b);
}

bool drawSkin(const QString &dir, int entry)
{
    QProcess gen;
    gen.start(QStringLiteral(MC_SKINGEN),
              {QStringLiteral("--out"), dir, QStringLiteral("--accent"), QString::number(entry)});
    return gen.waitForFinished(60000) && gen.exitStatus() == QProcess::NormalExit &&
           gen.exitCode() == 0;
}

int channelDistance(QRgb a, QRgb b)
{
    return qMax(qMax(qAbs(qRed(a) - qRed(b)), qAbs(qGreen(a) - qGreen(b))),
                qMax(qAbs(qBlue(a) - qBlue(b)), qAbs(qAlpha(a) - qAlpha(b))));
}

} // namespace

class TestSkinTint : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        QVERIFY(drawSkin(m_dir.filePath(QStringLiteral("base")), kSkinAccentEntry));
    }

    void recolouredSkinLooksDrawnInTheEntry_data()
    {
        QTest::addColumn<int>("entry");
        QTest::newRow("blue") << 2;
        QTest::newRow("beige") << 3;
    }
    void recolouredSkinLooksDrawnInTheEntry()
    {
        QFETCH(int, entry);
        const QString base = m_dir.filePath(QStringLiteral("base"));
        const QString drawn = m_dir.filePath(QString::number(entry));
        QVERIFY(drawSkin(drawn, entry));
        int images = 0;
        QDirIterator it(base, {QStringLiteral("*.png"), QStringLiteral("*.gif")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            const QString name = file.mid(base.size());
            const QImage want =
                QImage(drawn + name).convertToFormat(QImage::Format_ARGB32_Premultiplied);
            const QImage got = tintAccent(QImage(file), entryColour(entry))
                                   .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QCOMPARE(got.size(), want.size());
            int worst = 0;
            QPoint at;
            for (int y = 0; y < got.height(); ++y) {
                const QRgb *g = reinterpret_cast<const QRgb *>(got.constScanLine(y));
                const QRgb *w = reinterpret_cast<const QRgb *>(want.constScanLine(y));
                for (int x = 0; x < got.width(); ++x) {
                    const int d = channelDistance(g[x], w[x]);
                    if (d > worst) {
                        worst = d;
                        at = QPoint(x, y);
                    }
                }
            }
            // Rounding apart (the painter blends in bytes), the two are the same picture.
            QVERIFY2(worst <= 8, qPrintable(QStringLiteral("%1: off by %2 at %3,%4")
                                                .arg(name)
                                                .arg(worst)
                                                .arg(at.x())
                                                .arg(at.y())));
            ++images;
        }
        QVERIFY(images > 50);
    }

    // A photo-like product picture or an icon's own colours must not be dragged along.
    void otherColoursStay()
    {
        const QRgb others[] = {qRgb(255, 0, 0),     qRgb(60, 160, 90), qRgb(255, 0, 255),
                               qRgb(255, 255, 255), qRgb(52, 54, 62),  qRgba(0, 0, 0, 0),
                               qRgb(200, 120, 60)};
        QImage img(int(std::size(others)) + 1, 1, QImage::Format_ARGB32_Premultiplied);
        for (int x = 0; x < int(std::size(others)); ++x)
            img.setPixel(x, 0, others[x]);
        img.setPixel(int(std::size(others)), 0, skinAccent().rgb());
        const QImage tinted = tintAccent(img, entryColour(2));
        for (int x = 0; x < int(std::size(others)); ++x)
            QCOMPARE(tinted.pixel(x, 0), img.pixel(x, 0));
        QCOMPARE(tinted.pixel(int(std::size(others)), 0), entryColour(2).rgb());
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestSkinTint)
#include "test_skintint.moc"
