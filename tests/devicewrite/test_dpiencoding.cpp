// The sensor register forms of DPI stages: every rule at its range edges, the tables against
// their published sums, and raw values far beyond a sensor's range.
#include "device/dpiencoding.h"

#include <QtTest>

using namespace mc;

using Bytes = QVector<int>;
Q_DECLARE_METATYPE(Bytes)

namespace {

struct TableView
{
    const uint8_t *data;
    int size;
};

TableView tableView(int n)
{
    switch (n) {
    case 1:
        return {kSensorTable1.data(), int(kSensorTable1.size())};
    case 2:
        return {kSensorTable2.data(), int(kSensorTable2.size())};
    case 3:
        return {kSensorTable3.data(), int(kSensorTable3.size())};
    default:
        return {kSensorTable4.data(), int(kSensorTable4.size())};
    }
}

Bytes toBytes(const std::array<uint8_t, 4> &a)
{
    return {a[0], a[1], a[2], a[3]};
}

} // namespace

class TestDpiEncoding : public QObject
{
    Q_OBJECT

private slots:
    void tablesMatchTheirPublishedValues_data();
    void tablesMatchTheirPublishedValues();
    void registerForm_data();
    void registerForm();
    void rawValuesBeyondRangeStayInTheTables_data();
    void rawValuesBeyondRangeStayInTheTables();
};

void TestDpiEncoding::tablesMatchTheirPublishedValues_data()
{
    QTest::addColumn<int>("table");
    QTest::addColumn<int>("size");
    QTest::addColumn<qlonglong>("sum");
    QTest::addColumn<qlonglong>("weighted");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    QTest::newRow("T1") << 1 << 161 << 15447LL << 1656548LL << 143 << 188;
    QTest::newRow("T2") << 2 << 51 << 2916LL << 101441LL << 0 << 115;
    QTest::newRow("T3") << 3 << 62 << 4394LL << 183497LL << 0 << 140;
    QTest::newRow("T4") << 4 << 81 << 7895LL << 412802LL << 188 << 187;
}

void TestDpiEncoding::tablesMatchTheirPublishedValues()
{
    QFETCH(int, table);
    const TableView t = tableView(table);
    long long sum = 0;
    long long weighted = 0; // weighting by position catches two swapped entries
    for (int i = 0; i < t.size; ++i) {
        sum += t.data[i];
        weighted += static_cast<long long>(i + 1) * t.data[i];
    }
    QTEST(t.size, "size");
    QTEST(qlonglong(sum), "sum");
    QTEST(qlonglong(weighted), "weighted");
    QTEST(int(t.data[0]), "first");
    QTEST(int(t.data[t.size - 1]), "last");
}

void TestDpiEncoding::registerForm_data()
{
    QTest::addColumn<int>("sensor");
    QTest::addColumn<uint>("x");
    QTest::addColumn<uint>("y");
    QTest::addColumn<int>("status");
    QTest::addColumn<Bytes>("expected");

    QTest::newRow("3104 puts y first") << 3104 << 20u << 107u << 0 << Bytes{54, 1, 20, 0};
    QTest::newRow("3104 edge 106") << 3104 << 106u << 106u << 0 << Bytes{106, 0, 106, 0};
    QTest::newRow("31042 as 3104") << 31042 << 200u << 14u << 0 << Bytes{14, 0, 147, 1};
    QTest::newRow("3212 raw 64 and 95") << 3212 << 64u << 95u << 0 << Bytes{32, 1, 32, 2};
    QTest::newRow("3212 edges 63 and 94") << 3212 << 63u << 94u << 0 << Bytes{63, 0, 62, 1};
    QTest::newRow("3311 edge 120/121") << 3311 << 120u << 121u << 0 << Bytes{143, 0, 72, 1};
    QTest::newRow("3311 lowest and highest") << 3311 << 1u << 220u << 0 << Bytes{0, 0, 188, 1};
    QTest::newRow("33112 as 3311") << 33112 << 60u << 61u << 0 << Bytes{71, 0, 72, 0};
    QTest::newRow("3325 edge 50/51") << 3325 << 50u << 51u << 0 << Bytes{115, 0, 59, 1};
    QTest::newRow("3325 edge 75/76") << 3325 << 75u << 76u << 0 << Bytes{115, 1, 59, 2};
    QTest::newRow("33252 top and low") << 33252 << 100u << 8u << 0 << Bytes{115, 2, 18, 0};
    QTest::newRow("3327 edge 61/62") << 3327 << 61u << 62u << 0 << Bytes{140, 0, 72, 1};
    QTest::newRow("3327 edge 92/93 range 4") << 3327 << 92u << 93u << 0 << Bytes{140, 1, 95, 4};
    QTest::newRow("3327 top") << 3327 << 113u << 0u << 0 << Bytes{140, 4, 0, 0};
    QTest::newRow("3333 edge 79/80") << 3333 << 79u << 80u << 0 << Bytes{185, 0, 93, 1};
    QTest::newRow("3333 top and low") << 3333 << 120u << 2u << 0 << Bytes{187, 1, 4, 0};
    QTest::newRow("3335 both from x") << 3335 << 160u << 5u << 0 << Bytes{188, 0, 188, 0};
    QTest::newRow("3335 upper from x") << 3335 << 161u << 7u << 0 << Bytes{144, 1, 144, 1};
    QTest::newRow("33352 as 3335") << 33352 << 200u << 1u << 0 << Bytes{188, 1, 188, 1};
    QTest::newRow("3360 edge 120/121") << 3360 << 120u << 121u << 0 << Bytes{119, 0, 60, 1};
    QTest::newRow("3360 raw 0 held at 0") << 3360 << 0u << 1u << 0 << Bytes{0, 0, 0, 0};
    QTest::newRow("3370 edge 200/201") << 3370 << 200u << 201u << 0 << Bytes{199, 0, 100, 1};
    QTest::newRow("3389 direct 320") << 3389 << 320u << 2u << 0 << Bytes{0x40, 0x01, 2, 0};
    QTest::newRow("3389 shifted 321") << 3389 << 321u << 500u << 0 << Bytes{0xA1, 0x80, 0x54, 0x81};
    QTest::newRow("3395 direct 16 bits")
        << 3395 << 519u << 400u << 0 << Bytes{0x07, 0x02, 0x90, 0x01};
    QTest::newRow("3395 status 8 caps at 399")
        << 3395 << 519u << 100u << 8 << Bytes{0x8F, 0x01, 100, 0};
    QTest::newRow("3395 other status no cap")
        << 3395 << 519u << 100u << 9 << Bytes{0x07, 0x02, 100, 0};
    QTest::newRow("33952 x 519 direct, y 520 direct")
        << 33952 << 519u << 520u << 0 << Bytes{0x07, 0x02, 0x08, 0x02};
    QTest::newRow("33952 x 520 shifted, y 521 shifted")
        << 33952 << 520u << 521u << 0 << Bytes{0x04, 0x81, 0x05, 0x81};
    QTest::newRow("unknown sensor") << 3399 << 50u << 50u << 0 << Bytes{0, 0, 0, 0};
    QTest::newRow("no sensor") << 0 << 50u << 50u << 0 << Bytes{0, 0, 0, 0};
}

void TestDpiEncoding::registerForm()
{
    QFETCH(int, sensor);
    QFETCH(uint, x);
    QFETCH(uint, y);
    QFETCH(int, status);
    QFETCH(Bytes, expected);
    QCOMPARE(toBytes(encodeStageResolution(sensor, x, y, uint8_t(status))), expected);
}

void TestDpiEncoding::rawValuesBeyondRangeStayInTheTables_data()
{
    QTest::addColumn<int>("sensor");
    QTest::addColumn<uint>("raw");
    QTest::addColumn<Bytes>("expected");
    QTest::newRow("3311 past its table") << 3311 << 100000u << Bytes{188, 1, 188, 1};
    QTest::newRow("3325 past its table") << 3325 << 4000000000u << Bytes{115, 2, 115, 2};
    QTest::newRow("3327 past its table") << 3327 << 0xFFFFFFFFu << Bytes{140, 4, 140, 4};
    QTest::newRow("3333 past its table") << 3333 << 500u << Bytes{187, 1, 187, 1};
    QTest::newRow("3335 past its table") << 3335 << 9999u << Bytes{188, 1, 188, 1};
    QTest::newRow("3104 saturates") << 3104 << 9999u << Bytes{255, 1, 255, 1};
    QTest::newRow("3212 saturates") << 3212 << 9999u << Bytes{255, 2, 255, 2};
    QTest::newRow("3370 saturates") << 3370 << 9999u << Bytes{255, 1, 255, 1};
    QTest::newRow("3389 keeps the flag bit")
        << 3389 << 0xFFFFFFFFu << Bytes{0xFF, 0xFF, 0xFF, 0xFF};
    QTest::newRow("3395 saturates at 16 bits") << 3395 << 70000u << Bytes{0xFF, 0xFF, 0xFF, 0xFF};
}

void TestDpiEncoding::rawValuesBeyondRangeStayInTheTables()
{
    QFETCH(int, sensor);
    QFETCH(uint, raw);
    QFETCH(Bytes, expected);
    QCOMPARE(toBytes(encodeStageResolution(sensor, raw, raw, 0)), expected);
}

QTEST_GUILESS_MAIN(TestDpiEncoding)
#include "test_dpiencoding.moc"
