// Reading a hidraw node's usages as hidapi 0.13 lists them, and its IDs: a receiver-like
// descriptor, the item forms that change which page or usage counts, and damaged input, which
// may end the walk early but never reads past the end.
#include "platform/reportdescriptor.h"

#include <QRandomGenerator>
#include <QtTest>

using mc::HidUsage;

Q_DECLARE_METATYPE(QVector<mc::HidUsage>)

namespace {

// A receiver interface: mouse (with a nested physical collection), consumer control, and the
// vendor command collection on Generic Desktop usage 0.
const QByteArray kReceiver = QByteArray::fromHex(
    // mouse: buttons, X/Y, wheel inside a physical collection
    "05010902a10185010901a10005091901290515002501950575018102950175038101"
    "050116018026ff7f75109502093009318106"
    "1581257f7508950109388106c0c0"
    // consumer control
    "050c0901a1018503150026ff0319002aff03751095018100c0"
    // command collection: vendor data of 32 bytes each way
    "05010900a10185050600ff0901150026ff0075089520810209019102c0");

// The pointer's nested physical collection (Pointer, 1:1) is listed too, as hidapi lists it.
const QVector<HidUsage> kReceiverCollections{{1, 2}, {1, 1}, {0x0C, 1}, {1, 0}};

} // namespace

class TestReportDescriptor : public QObject
{
    Q_OBJECT
private slots:
    void collections_data()
    {
        QTest::addColumn<QByteArray>("descriptor");
        QTest::addColumn<QVector<HidUsage>>("expected");
        QTest::newRow("receiver: every collection with a usage, nested ones too")
            << kReceiver << kReceiverCollections;
        QTest::newRow("four-byte usage: its low half, under the page in force")
            << QByteArray::fromHex("050c0b02000100a101c0") << QVector<HidUsage>{{0x0C, 2}};
        QTest::newRow("push and pop change nothing")
            << QByteArray::fromHex("0501a4050cb40900a101c0") << QVector<HidUsage>{{0x0C, 0}};
        QTest::newRow("long item skipped by its size")
            << QByteArray::fromHex("fe03aa01020305010902a101c0") << QVector<HidUsage>{{1, 2}};
        QTest::newRow("a main item ends the usage: no usage, no collection")
            << QByteArray::fromHex("050109028102a101c005010906a101c0") << QVector<HidUsage>{{1, 6}};
        QTest::newRow("the last usage of a set decides")
            << QByteArray::fromHex("050109020906a101c0") << QVector<HidUsage>{{1, 6}};
        QTest::newRow("a usage with no collection after it")
            << QByteArray::fromHex("05010906") << QVector<HidUsage>{{1, 6}};
        QTest::newRow("unbalanced end collections")
            << QByteArray::fromHex("c0c0c005010902a101c0") << QVector<HidUsage>{{1, 2}};
        QTest::newRow("collection item cut inside its two data bytes still counts")
            << QByteArray::fromHex("05010902a201") << QVector<HidUsage>{{1, 2}};
        QTest::newRow("an Fx key with its length byte is a long item")
            << QByteArray::fromHex("0501f0000902a101c00906a101c0") << QVector<HidUsage>{{1, 6}};
        QTest::newRow("empty") << QByteArray() << QVector<HidUsage>{};
    }

    void collections()
    {
        QFETCH(QByteArray, descriptor);
        QFETCH(QVector<HidUsage>, expected);
        QCOMPARE(mc::listedUsages(descriptor), expected);
    }

    // Every cut of a real descriptor reads as a prefix of the whole, but for a last pair that an
    // item cut in its data (read as 0) may give; nothing is read beyond the buffer.
    void truncatedDescriptorsGivePrefixes()
    {
        for (int n = 0; n <= kReceiver.size(); ++n) {
            // A copy of exactly n bytes, so that a read past the end shows under sanitizers.
            const QByteArray cut(kReceiver.constData(), n);
            const QVector<HidUsage> got = mc::listedUsages(cut);
            const QVector<HidUsage> settled = got.mid(0, std::max(0, int(got.size()) - 1));
            QVERIFY2(got.size() <= kReceiverCollections.size() &&
                         settled == kReceiverCollections.mid(0, settled.size()),
                     qPrintable(QString::number(n)));
        }
    }

    void garbageNeverCrashesOrOverflowsAPage()
    {
        QRandomGenerator random(10);
        for (int i = 0; i < 2000; ++i) {
            QByteArray bytes(int(random.bounded(64)), '\0');
            for (char &c : bytes)
                c = char(random.bounded(256));
            for (const HidUsage &u : mc::listedUsages(bytes)) {
                QVERIFY(u.usagePage >= 0 && u.usagePage <= 0xFFFF);
                QVERIFY(u.usage >= 0 && u.usage <= 0xFFFF);
            }
        }
        // Far longer than any descriptor: the walk stops at the kernel's limit.
        const QByteArray one = QByteArray::fromHex("05010902a101c0");
        const QByteArray huge = one.repeated((1 << 20) / one.size());
        QCOMPARE(mc::listedUsages(huge).size(), mc::kMaxReportDescriptorSize / 7);
    }

    void hidId_data()
    {
        QTest::addColumn<QByteArray>("hidId");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("vid");
        QTest::addColumn<int>("pid");
        QTest::newRow("receiver") << QByteArray("0003:0000248A:0000FA02") << true << 0x248A
                                  << 0xFA02;
        QTest::newRow("lower case, newline")
            << QByteArray("0003:0000248a:0000fb01\n") << true << 0x248A << 0xFB01;
        QTest::newRow("two fields") << QByteArray("0003:0000248A") << false << 0 << 0;
        QTest::newRow("vendor beyond 16 bits")
            << QByteArray("0003:0001248A:0000FA02") << false << 0 << 0;
        QTest::newRow("not hexadecimal") << QByteArray("0003:0000248G:0000FA02") << false << 0 << 0;
        QTest::newRow("empty field") << QByteArray("0003::0000FA02") << false << 0 << 0;
        QTest::newRow("missing") << QByteArray() << false << 0 << 0;
    }

    void hidId()
    {
        QFETCH(QByteArray, hidId);
        QFETCH(bool, ok);
        QFETCH(int, vid);
        QFETCH(int, pid);
        int gotVid = 0;
        int gotPid = 0;
        QCOMPARE(mc::parseHidId(hidId, &gotVid, &gotPid), ok);
        QCOMPARE(gotVid, vid);
        QCOMPARE(gotPid, pid);
    }
};

QTEST_GUILESS_MAIN(TestReportDescriptor)
#include "test_reportdescriptor.moc"
