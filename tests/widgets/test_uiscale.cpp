// The scale table: which factor a screen's logical DPI gives, the width fallback used while
// the window has its first size, and the truncation every geometry goes through.
#include "widgets/uiscale.h"

#include <QtTest>

using namespace mc;

class TestUiScale : public QObject
{
    Q_OBJECT
private slots:
    void ratioTable_data()
    {
        QTest::addColumn<double>("ratio");
        QTest::addColumn<int>("step");
        QTest::addColumn<double>("factor");
        QTest::newRow("96 dpi") << 96 / 96.0 << 0 << 1.0;
        QTest::newRow("120 dpi") << 120 / 96.0 << 1 << 1.25;
        QTest::newRow("144 dpi") << 144 / 96.0 << 2 << 1.5;
        QTest::newRow("ratio exactly 1.1 is already 1.25") << 1.1 << 1 << 1.25;
        QTest::newRow("just below 1.1") << 1.0999 << 0 << 1.0;
        QTest::newRow("192 dpi") << 2.0 << 4 << 2.0;
        QTest::newRow("exactly 4.8 is the last step") << 4.8 << 16 << 5.0;
        QTest::newRow("just below 4.8") << 4.79 << 15 << 4.75;
        QTest::newRow("tiny screen") << 0.5 << 0 << 1.0;
        QTest::newRow("huge ratio") << 40.0 << 16 << 5.0;
    }
    void ratioTable()
    {
        QFETCH(double, ratio);
        QFETCH(int, step);
        QFETCH(double, factor);
        const ScaleStep s = scaleForRatio(ratio);
        QCOMPARE(s.step, step);
        QCOMPARE(s.factor, factor);
        QCOMPARE(scaleForDpi(ratio * 96.0).step, step);
    }

    void windowSizeFollowsFactor_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<QSize>("size");
        QTest::newRow("96") << 96.0 << QSize(999, 640);
        QTest::newRow("120") << 120.0 << QSize(1248, 800);
        QTest::newRow("144") << 144.0 << QSize(1498, 960);
    }
    void windowSizeFollowsFactor()
    {
        QFETCH(double, dpi);
        QFETCH(QSize, size);
        setScaleFactor(scaleForDpi(dpi).factor);
        QCOMPARE(QSize(scaled(kDesignWidth), scaled(kDesignHeight)), size);
        setScaleFactor(1.0);
    }

    void widthFallback_data()
    {
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("matches");
        QTest::addColumn<int>("step");
        QTest::newRow("999") << 999 << true << 0;
        QTest::newRow("990 is within 9") << 990 << true << 0;
        QTest::newRow("989 is not") << 989 << false << -1;
        QTest::newRow("1257") << 1257 << true << 1;
        QTest::newRow("1498") << 1498 << true << 2;
        QTest::newRow("1748") << 1748 << true << 3;
        QTest::newRow("2000") << 2000 << false << -1;
    }
    void widthFallback()
    {
        QFETCH(int, width);
        QFETCH(bool, matches);
        QFETCH(int, step);
        ScaleStep s{-1, 0.0};
        QCOMPARE(scaleForWidth(width, s), matches);
        QCOMPARE(s.step, step);
        if (matches)
            QCOMPARE(s.factor, 1.0 + 0.25 * step);
    }

    // The step the screen asks for unless its window would not fit the free area.
    void fitsTheScreen_data()
    {
        QTest::addColumn<double>("dpi");
        QTest::addColumn<QSize>("area");
        QTest::addColumn<int>("step");
        QTest::newRow("1366x768 at 120 dpi") << 120.0 << QSize(1366, 728) << 0;
        QTest::newRow("1920x1080 at 144 dpi") << 144.0 << QSize(1920, 1040) << 2;
        QTest::newRow("1920x1080 at 192 dpi") << 192.0 << QSize(1920, 1040) << 2;
        QTest::newRow("exactly fits") << 120.0 << QSize(1248, 800) << 1;
        QTest::newRow("too small for any") << 96.0 << QSize(800, 600) << 0;
        QTest::newRow("area unknown") << 144.0 << QSize(0, 0) << 2;
    }
    void fitsTheScreen()
    {
        QFETCH(double, dpi);
        QFETCH(QSize, area);
        QFETCH(int, step);
        const ScaleStep s = fitScaleStep(scaleForDpi(dpi), area.width(), area.height());
        QCOMPARE(s.step, step);
        QCOMPARE(s.factor, factorOfStep(step));
    }

    void scaledTruncates()
    {
        setScaleFactor(1.25);
        QCOMPARE(scaled(999), 1248); // 1248.75
        QCOMPARE(scaledRect(69, 90, 149, 25), QRect(86, 112, 186, 31));
        setScaleFactor(1.0);
    }

    void factorOutsideTableIsRefused()
    {
        setScaleFactor(0.0);
        QCOMPARE(scaleFactor(), 1.0);
        setScaleFactor(1e9);
        QCOMPARE(scaleFactor(), 1.0);
        QCOMPARE(factorOfStep(99), 5.0);
        QCOMPARE(factorOfStep(-3), 1.0);
    }
};

QTEST_APPLESS_MAIN(TestUiScale)
#include "test_uiscale.moc"
