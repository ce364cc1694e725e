// Battery reading to millivolts and percent, at the edges of every step.
#include "device/batterylevel.h"

#include <QtTest>

using namespace mc;

class BatteryLevelTest : public QObject
{
    Q_OBJECT

private slots:
    void percent_data()
    {
        QTest::addColumn<int>("raw");
        QTest::addColumn<int>("full");
        QTest::addColumn<int>("millivolts");
        QTest::addColumn<int>("percent");
        QTest::newRow("hi 3 lo 232") << 1000 << 4200 << 4125 << 90;
        QTest::newRow("hi 4 lo 36") << 1060 << 4200 << 4372 << 100;
        QTest::newRow("just at 3200") << 776 << 4200 << 3201 << 20;
        QTest::newRow("just under 3200") << 775 << 4200 << 3196 << 10;
        QTest::newRow("full by a lower full-charge value") << 1000 << 4100 << 4125 << 100;
        QTest::newRow("4000 step") << 970 << 4200 << 4001 << 80;
        QTest::newRow("3900 step") << 946 << 4200 << 3902 << 70;
        QTest::newRow("3800 step") << 922 << 4200 << 3803 << 60;
        QTest::newRow("3700 step") << 898 << 4200 << 3704 << 50;
        QTest::newRow("3600 is still 40") << 873 << 4200 << 3601 << 40;
        QTest::newRow("3400 step") << 825 << 4200 << 3403 << 30;
        QTest::newRow("zero") << 0 << 4200 << 0 << 10;
        QTest::newRow("largest reading") << 65535 << 4200 << 270331 << 100;
    }

    void percent()
    {
        QFETCH(int, raw);
        QFETCH(int, full);
        QFETCH(int, millivolts);
        QFETCH(int, percent);
        const int mv = batteryMillivolts(uint8_t(raw & 0xFF), uint8_t(raw >> 8));
        QCOMPARE(mv, millivolts);
        QCOMPARE(batteryPercent(mv, full), percent);
    }
};

QTEST_GUILESS_MAIN(BatteryLevelTest)
#include "test_batterylevel.moc"
