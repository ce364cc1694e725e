// The decoded first-frame images kept between runs: what comes back is what was kept, only for
// unchanged skin files and the same scale and colour, and a damaged or hostile file is never
// trusted. The start-up worker uses the file and still reads a changed skin.
#include "skinfixture.h"

#include "widgets/decodedimages.h"
#include "widgets/theme.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <sys/stat.h>
#endif

using namespace mc;
namespace di = mc::decodedimages;

namespace {

QImage filled(const QColor &colour, int w = 20, int h = 20)
{
    QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
    img.fill(colour);
    return img;
}

} // namespace

class TestDecodedImages : public QObject
{
    Q_OBJECT

private slots:
    void keptImagesComeBackOnlyWhileTheirSourceIsUnchanged()
    {
        test::SkinFixture fx;
        const QString red = fx.image(QStringLiteral("red.png"), Qt::red);
        const QString blue = fx.image(QStringLiteral("blue.png"), Qt::blue);
        const QString cache = di::cacheFile();
        QVERIFY(cache.startsWith(fx.path()));
        QImage wide = filled(Qt::green, 7, 3); // a line length that is no multiple of 8
        QVERIFY(di::write(cache,
                          {{red, di::stampOf(red), filled(Qt::red)},
                           {blue, di::stampOf(blue), wide},
                           {QStringLiteral("nothing"), {}, QImage()}},
                          qRgb(1, 2, 3), 1.5));

        QHash<QString, QImage> back = di::read(cache, qRgb(1, 2, 3), 1.5);
        QCOMPARE(back.size(), 2);
        QCOMPARE(back.value(red), filled(Qt::red));
        QCOMPARE(back.value(blue), wide);
        QCOMPARE(di::read(cache, qRgb(1, 2, 4), 1.5).size(), 0);
        QCOMPARE(di::read(cache, qRgb(1, 2, 3), 1.25).size(), 0);

        QFile f(blue);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(5),
                              QFileDevice::FileModificationTime));
        f.close();
        back = di::read(cache, qRgb(1, 2, 3), 1.5);
        QCOMPARE(back.keys(), QList<QString>{red});
    }

    // Cut anywhere, or with counts and sizes far beyond the file, the file reads as what its
    // intact entries hold and allocates nothing for the rest.
    void damagedFileIsNeverTrusted()
    {
        test::SkinFixture fx;
        const QString red = fx.image(QStringLiteral("red.png"), Qt::red);
        const QString cache = di::cacheFile();
        QVERIFY(di::write(cache, {{red, di::stampOf(red), filled(Qt::red)}}, 0, 1.0));
        QFile f(cache);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray whole = f.readAll();
        f.close();
        const auto reads = [&cache](const QByteArray &bytes) {
            QFile out(cache);
            if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return -1;
            out.write(bytes);
            out.close();
            return int(di::read(cache, 0, 1.0).size());
        };
        for (int cut = 0; cut < whole.size(); cut += 7)
            QCOMPARE(reads(whole.left(cut)), 0);
        QCOMPARE(reads(whole), 1);

        const int countAt = 8 + 4 * 3;
        const int pathAt = countAt + 4;
        const int sizesAt = pathAt + 4 + red.toUtf8().size() + 16;
        const auto patched = [&whole](int at, quint32 value) {
            QByteArray b = whole;
            qToLittleEndian(value, b.data() + at);
            return b;
        };
        QCOMPARE(reads(patched(countAt, 0xFFFFFFFFu)), 0);
        QCOMPARE(reads(patched(countAt, 2)), 1); // a second entry the file does not have
        QCOMPARE(reads(patched(pathAt, 0x7FFFFFFFu)), 0);
        QCOMPARE(reads(patched(sizesAt, 100000)), 0);
        QCOMPARE(reads(patched(sizesAt + 4, 0)), 0);
        QCOMPARE(reads(patched(sizesAt + 4, 8000)), 0); // more pixels than the file holds
        QCOMPARE(reads(patched(0, 0x21444142)), 0);     // not our file

#ifdef Q_OS_UNIX
        // A FIFO in the file's place (nobody will ever write to it) reads as nothing at once,
        // rather than holding the start until a writer comes.
        QVERIFY(QFile::remove(cache));
        QVERIFY(::mkfifo(QFile::encodeName(cache).constData(), 0600) == 0);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(di::read(cache, 0, 1.0).size(), 0);
        QVERIFY(clock.elapsed() < 2000);
        QVERIFY(QFile::remove(cache));
#endif
    }

    // A second start takes the images from the file, a changed skin file is read again, and a
    // cache that cannot be written costs nothing but time.
    void startUpWorkerUsesTheKeptImages()
    {
        test::SkinFixture fx;
        const QString file = fx.image(QStringLiteral("back.png"), Qt::red);
        preloadSkinImages({file});
        QCOMPARE(skinImage(file).pixel(3, 3), qRgb(255, 0, 0));
        finishSkinPreload();
        QVERIFY(QFileInfo::exists(di::cacheFile()));

        // What the file holds is what the window gets, while the skin file is unchanged.
        QVERIFY(di::write(di::cacheFile(), {{file, di::stampOf(file), filled(Qt::blue)}},
                          themeColour().rgb(), 1.0));
        preloadSkinImages({file});
        QCOMPARE(skinImage(file).pixel(3, 3), qRgb(0, 0, 255));
        finishSkinPreload();

        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadWrite));
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(5),
                              QFileDevice::FileModificationTime));
        f.close();
        preloadSkinImages({file});
        QCOMPARE(skinImage(file).pixel(3, 3), qRgb(255, 0, 0));
        finishSkinPreload();
        QCOMPARE(di::read(di::cacheFile(), themeColour().rgb(), 1.0).value(file).pixel(3, 3),
                 qRgb(255, 0, 0));

        // The cache folder's place taken by a plain file: nothing can be kept.
        QDir(di::cacheFile()).removeRecursively();
        QDir(QFileInfo(di::cacheFile()).absolutePath()).removeRecursively();
        QFile blocker(QFileInfo(di::cacheFile()).absolutePath());
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        preloadSkinImages({file});
        QCOMPARE(skinImage(file).pixel(3, 3), qRgb(255, 0, 0));
        finishSkinPreload();
        QVERIFY(!QFileInfo(di::cacheFile()).exists());
    }
};

QTEST_MAIN(TestDecodedImages)
#include "test_decodedimages.moc"
