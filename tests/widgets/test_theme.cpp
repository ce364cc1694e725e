// Theme colour, shared font and menu style: what the widgets take from the settings files,
// including values that are out of range or not numbers.
#include "skinfixture.h"
#include "widgets/kivaction.h"
#include "widgets/skintint.h"
#include "widgets/theme.h"
#include "widgets/themecolours.h"
#include "widgets/uiscale.h"

#include <QCheckBox>
#include <QMenu>
#include <QtTest>

using namespace mc;

class TestTheme : public QObject
{
    Q_OBJECT
private slots:
    void themeColourByIndex_data()
    {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("missing") << QVariant() << QColor(188, 7, 121);
        QTest::newRow("0") << QVariant(0) << QColor(188, 7, 121);
        QTest::newRow("3") << QVariant(3) << QColor(219, 200, 182);
        QTest::newRow("6") << QVariant(6) << QColor(255, 125, 0);
        QTest::newRow("7 is past the table") << QVariant(7) << QColor(188, 7, 121);
        QTest::newRow("200") << QVariant(200) << QColor(188, 7, 121);
        QTest::newRow("negative") << QVariant(-1) << QColor(188, 7, 121);
        QTest::newRow("not a number") << QVariant(QStringLiteral("blue")) << QColor(188, 7, 121);
    }
    void themeColourByIndex()
    {
        QFETCH(QVariant, stored);
        QFETCH(QColor, colour);
        test::SkinFixture fx;
        if (stored.isValid())
            fx.setConfig(QStringLiteral("Config/GColorID"), stored);
        QCOMPARE(themeColour(), colour);
    }

    void themeTableClampsEveryIndex()
    {
        QCOMPARE(themeRgbAt(-100).r, kThemeColours[0].r);
        QCOMPARE(themeRgbAt(7).g, kThemeColours[0].g);
        QCOMPARE(themeRgbAt(2).b, uint8_t(255));
    }

    void changedFileIsSeen()
    {
        test::SkinFixture fx;
        fx.setConfig(QStringLiteral("Config/GColorID"), 1);
        QCOMPARE(themeColour(), QColor(0, 255, 0));
        fx.setConfig(QStringLiteral("Config/GColorID"), 5);
        QCOMPARE(themeColour(), QColor(0, 255, 255));
    }

    void sharedFont_data()
    {
        QTest::addColumn<QVariant>("size");
        QTest::addColumn<double>("factor");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("pixels"); // -1: the library's default size is kept
        QTest::newRow("12 at 1.0") << QVariant(12) << 1.0 << 0 << 12;
        QTest::newRow("12 at 1.5") << QVariant(12) << 1.5 << 0 << 18;
        QTest::newRow("13 at 1.25 truncates") << QVariant(13) << 1.25 << 0 << 16;
        QTest::newRow("with delta") << QVariant(12) << 1.0 << 2 << 14;
        QTest::newRow("missing size") << QVariant() << 1.0 << 0 << -1;
        QTest::newRow("negative size") << QVariant(-4) << 1.0 << 0 << -1;
        QTest::newRow("absurd size") << QVariant(100000) << 1.0 << 0 << -1;
        QTest::newRow("not a number") << QVariant(QStringLiteral("big")) << 1.0 << 0 << -1;
    }
    void sharedFont()
    {
        QFETCH(QVariant, size);
        QFETCH(double, factor);
        QFETCH(int, delta);
        QFETCH(int, pixels);
        test::SkinFixture fx;
        fx.setConfig(QStringLiteral("FONT_LIST/FONT_0"), QStringLiteral("DejaVu Sans"));
        if (size.isValid())
            fx.setConfig(QStringLiteral("FONT_LIST/FONT_SIZE_0"), size);
        setScaleFactor(factor);
        const QFont f = mc::sharedFont(delta);
        setScaleFactor(1.0);
        QCOMPARE(f.pixelSize(), pixels);
        QCOMPARE(f.family(), QStringLiteral("DejaVu Sans"));
    }

    void fontFollowsLanguage()
    {
        test::SkinFixture fx;
        fx.setConfig(QStringLiteral("FONT_LIST/FONT_SIZE_0"), 10);
        fx.setConfig(QStringLiteral("FONT_LIST/FONT_SIZE_1"), 20);
        QCOMPARE(mc::sharedFont().pixelSize(), 10);
        setUiLanguage(1);
        QCOMPARE(mc::sharedFont().pixelSize(), 20);
        setUiLanguage(0);
    }

    void menusAndActionsGetStyleAndFont()
    {
        test::SkinFixture fx;
        fx.setConfig(QStringLiteral("FONT_LIST/FONT_SIZE_0"), 15);
        QMenu menu;
        styleMenu(&menu);
        menu.addAction(QStringLiteral("a"));
        menu.popup(QPoint(0, 0)); // a hidden menu is styled as it shows
        QTRY_VERIFY(menu.isVisible());
        const QString css = menu.styleSheet();
        const int plain = css.indexOf(QLatin1String("QMenu{"));
        const int item = css.indexOf(QLatin1String("QMenu::item{"));
        const int selected = css.indexOf(QLatin1String("QMenu::item:selected{"));
        const int pressed = css.indexOf(QLatin1String("QMenu::item:pressed{"));
        QVERIFY(plain >= 0 && plain < item && item < selected && selected < pressed);
        QVERIFY(css.contains(QLatin1String("background-color:rgb(145,145,145)")));
        QCOMPARE(menu.font().pixelSize(), 15);

        KivAction action(QStringLiteral("x"), &menu);
        QCOMPARE(action.font().pixelSize(), 15);
        fx.setConfig(QStringLiteral("FONT_LIST/FONT_SIZE_0"), 11);
        action.setText(QStringLiteral("y"));
        QCOMPARE(action.font().pixelSize(), 11);
    }

    void colorModeFromDescription()
    {
        test::SkinFixture fx;
        QCOMPARE(colorMode(), 0);
        fx.setDescription(QStringLiteral("PROFILE/ColorMode"), 1);
        QCOMPARE(colorMode(), 1);
    }

    // A missing file is a null picture; a picture of another format under a ".png" name (put
    // in the skin by hand) is still read.
    void skinPixmapOfMissingOrMisnamedFile()
    {
        test::SkinFixture fx;
        QVERIFY(skinPixmap(skinPath(QStringLiteral("nothing.png"))).isNull());
        const QString file = fx.image(QStringLiteral("a.png"), Qt::red);
        QCOMPARE(skinPixmap(file).size(), QSize(20, 20));
        QImage bmp(12, 8, QImage::Format_RGB32);
        bmp.fill(Qt::blue);
        QVERIFY(bmp.save(skinPath(QStringLiteral("b.png")), "BMP"));
        QCOMPARE(skinPixmap(skinPath(QStringLiteral("b.png"))).size(), QSize(12, 8));
    }

    // The skin is drawn in one accent; what the widgets get shows the configured theme colour,
    // from the start-up worker and from a later read alike.
    void skinImagesTakeTheThemeColour()
    {
        test::SkinFixture fx;
        const QString file = fx.image(QStringLiteral("accent.png"), skinAccent());
        fx.setConfig(QStringLiteral("Config/GColorID"), 2);
        preloadSkinImages({file});
        QCOMPARE(skinPixmap(file).toImage().pixel(5, 5), qRgb(0, 0, 255));
        fx.setConfig(QStringLiteral("Config/GColorID"), 6);
        QCOMPARE(skinPixmap(file).toImage().pixel(5, 5), qRgb(255, 125, 0));
    }

    // A stretched image is held at its design size times the scale in use, re-read at another
    // scale; a nonsense design size leaves the file's size.
    void largeSkinImageIsHeldAtTheScaleInUse()
    {
        test::SkinFixture fx;
        const auto write = [&fx](const char *name, const char *design) {
            QImage img(40, 20, QImage::Format_ARGB32);
            img.fill(Qt::red);
            img.setText(QStringLiteral("DesignSize"), QLatin1String(design));
            const QString path = skinPath(QLatin1String(name));
            img.save(path, "PNG");
            return path;
        };
        const QString big = write("big.png", "20x10");
        const QString odd = write("odd.png", "-5x99999");
        setScaleFactor(1.0);
        QCOMPARE(skinPixmap(big).size(), QSize(20, 10));
        QCOMPARE(skinPixmap(odd).size(), QSize(40, 20));
        setScaleFactor(1.5);
        QCOMPARE(skinPixmap(big).size(), QSize(30, 15));

        // A picture with a twice-as-large file: the small one at the design scale, the large
        // one above it, even when the large one does not say its design size.
        for (const char *design : {"20x10", ""}) {
            QImage small(20, 10, QImage::Format_ARGB32);
            small.fill(Qt::green);
            small.save(skinPath(QStringLiteral("pair.png")), "PNG");
            QImage large(40, 20, QImage::Format_ARGB32);
            large.fill(Qt::blue);
            if (*design)
                large.setText(QStringLiteral("DesignSize"), QLatin1String(design));
            large.save(skinPath(QStringLiteral("pair@2x.png")), "PNG");
            for (double factor : {1.0, 1.5}) {
                setScaleFactor(factor);
                const QImage got = skinImage(skinPath(QStringLiteral("pair.png")));
                QCOMPARE(got.size(), factor > 1 ? QSize(30, 15) : QSize(20, 10));
                QCOMPARE(got.pixelColor(5, 5), factor > 1 ? QColor(Qt::blue) : QColor(Qt::green));
                // Drawn at its pixels: Qt's own reading of the name would halve it.
                QCOMPARE(got.devicePixelRatio(), 1.0);
                QCOMPARE(skinPixmap(skinPath(QStringLiteral("pair.png"))).devicePixelRatio(), 1.0);
            }
        }
        setScaleFactor(1.0);
    }

    // A marked check box shows the skin's box for its state at the size its style sheet sets,
    // under the style-sheet machinery as in the panels; an unmarked one keeps the platform's.
    void checkBoxIndicatorFromSkin()
    {
        test::SkinFixture fx;
        fx.image(QStringLiteral("checkbox1-1.png"), Qt::red);
        fx.image(QStringLiteral("checkbox1-2.png"), Qt::green);
        useProgramStyle();
        const auto count = [](QWidget &w, QRgb rgb) {
            const QImage img = w.grab().toImage().convertToFormat(QImage::Format_RGB32);
            int n = 0;
            for (int y = 0; y < img.height(); ++y) {
                for (int x = 0; x < img.width(); ++x)
                    n += img.pixel(x, y) == rgb ? 1 : 0;
            }
            return n;
        };
        const QString sheet = QStringLiteral("QCheckBox{background:transparent;color:white;}"
                                             "QCheckBox::indicator{width:14px;height:14px;}");
        QCheckBox marked(QStringLiteral("x"));
        marked.setStyleSheet(sheet);
        useSkinIndicator(&marked);
        marked.resize(80, 24);
        QCOMPARE(count(marked, qRgb(255, 0, 0)), 14 * 14);
        QCOMPARE(count(marked, qRgb(0, 255, 0)), 0);
        marked.setChecked(true);
        QCOMPARE(count(marked, qRgb(0, 255, 0)), 14 * 14);
        QCOMPARE(count(marked, qRgb(255, 0, 0)), 0);

        QCheckBox plain(QStringLiteral("x"));
        plain.setStyleSheet(sheet);
        plain.resize(80, 24);
        QCOMPARE(count(plain, qRgb(255, 0, 0)), 0);
    }
};

QTEST_MAIN(TestTheme)
#include "test_theme.moc"
