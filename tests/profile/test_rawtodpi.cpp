// DPI figures of raw stage values for every sensor family, at the edges of their ranges and at
// their corrected values.
#include "profile/rawtodpi.h"

#include <QtTest>

#include <climits>

class TestRawToDpi : public QObject
{
    Q_OBJECT

private slots:
    void figures_data();
    void figures();
    void unknownSensorGivesZero_data();
    void unknownSensorGivesZero();
    void hugeRawValuesDoNotOverflow();
    void dpiMatches_data();
    void dpiMatches();
};

void TestRawToDpi::figures_data()
{
    QTest::addColumn<int>("sensor");
    QTest::addColumn<uint>("raw");
    QTest::addColumn<int>("dpi");
    struct Row
    {
        int sensor;
        uint raw;
        int dpi;
    };
    const Row rows[] = {
        // 3325 family: 100 per step, then 200 from 51, then 400 from 76.
        {3325, 8, 800},
        {3325, 12, 1200},
        {3325, 16, 1600},
        {3325, 24, 2400},
        {3325, 50, 5000},
        {3325, 51, 5200},
        {3325, 75, 10000},
        {3325, 76, 10400},
        {33252, 0, 0},
        {33252, 80, 12000},
        // 3327: offset by one step, a 16400 exception at 106.
        {3327, 0, 100},
        {3327, 61, 6200},
        {3327, 62, 6400},
        {3327, 92, 12400},
        {3327, 93, 12600},
        {3327, 105, 16200},
        {3327, 106, 16400},
        {3327, 107, 16800},
        // 3360 family.
        {3360, 120, 12000},
        {3360, 121, 12200},
        {3311, 1, 100},
        {33112, 130, 14000},
        // 3389.
        {3389, 320, 16000},
        {3389, 321, 16100},
        {3389, 3, 150},
        // 3212: rounded to tens with corrections.
        {3212, 21, 800},
        {3212, 32, 1200},
        {3212, 43, 1600},
        {3212, 63, 2400},
        {3212, 20, 760},
        {3212, 64, 2430},
        {3212, 94, 4710},
        {3212, 95, 4860},
        {3212, 111, 7200},
        {3212, 112, 7440},
        // 3104 family: 500 instead of 560 at 14.
        {3104, 13, 520},
        {3104, 14, 500},
        {3104, 15, 600},
        {3104, 106, 4240},
        {3104, 107, 4320},
        {31042, 14, 500},
        // 3335 family.
        {3335, 160, 16000},
        {3335, 161, 16200},
        {33352, 10, 1000},
        // 3370.
        {3370, 200, 10000},
        {3370, 201, 10100},
        // 3333.
        {3333, 80, 8000},
        {3333, 81, 8200},
        // 3399.
        {3399, 0, 50},
        {3399, 399, 20000},
        {3399, 400, 20100},
        // 3395 family.
        {3395, 0, 50},
        {3395, 519, 26000},
        {3395, 520, 26100},
        {33952, 31, 1600},
    };
    for (const Row &r : rows)
        QTest::addRow("%d raw %u", r.sensor, r.raw) << r.sensor << r.raw << r.dpi;
}

void TestRawToDpi::figures()
{
    QFETCH(int, sensor);
    QFETCH(uint, raw);
    QFETCH(int, dpi);
    QCOMPARE(mc::RawToDpi(raw, sensor), dpi);
}

void TestRawToDpi::unknownSensorGivesZero_data()
{
    QTest::addColumn<int>("sensor");
    for (const int code : {0, -1, 1, 3326, 3324, 33253, 99999, INT_MAX})
        QTest::addRow("%d", code) << code;
}

void TestRawToDpi::unknownSensorGivesZero()
{
    QFETCH(int, sensor);
    for (const uint raw : {0u, 1u, 14u, 106u, 500u, 0xFFFFFFFFu})
        QCOMPARE(mc::RawToDpi(raw, sensor), 0);
}

void TestRawToDpi::hugeRawValuesDoNotOverflow()
{
    // A raw value from a hostile file: the figure saturates instead of wrapping negative.
    QCOMPARE(mc::RawToDpi(0xFFFFFFFFu, 3325), INT_MAX);
    QCOMPARE(mc::RawToDpi(0xFFFFFFFFu, 3212), INT_MAX);
    QCOMPARE(mc::RawToDpi(10000000u, 3395), 26000 + 100 * (10000000 - 519));
}

void TestRawToDpi::dpiMatches_data()
{
    QTest::addColumn<int>("a");
    QTest::addColumn<int>("b");
    QTest::addColumn<bool>("matches");
    QTest::newRow("equal") << 1600 << 1600 << true;
    QTest::newRow("9 below") << 1591 << 1600 << true;
    QTest::newRow("9 above") << 1609 << 1600 << true;
    QTest::newRow("10 below") << 1590 << 1600 << false;
    QTest::newRow("10 above") << 1610 << 1600 << false;
    QTest::newRow("int max") << INT_MAX << INT_MAX << true;
    QTest::newRow("int min") << INT_MIN << INT_MAX << false;
}

void TestRawToDpi::dpiMatches()
{
    QFETCH(int, a);
    QFETCH(int, b);
    QFETCH(bool, matches);
    QCOMPARE(mc::DpiMatches(a, b), matches);
}

QTEST_GUILESS_MAIN(TestRawToDpi)
#include "test_rawtodpi.moc"
