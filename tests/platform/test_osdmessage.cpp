// The on-screen-display block byte for byte, and the display program's reader of it, which
// takes blocks from any local process and must refuse or tame what no link would send.
#include "platform/osdmessage.h"

#include <QtTest>

namespace {

QByteArray utf16le(const QString &s)
{
    QByteArray out;
    for (QChar c : s)
        out.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
    return out;
}

} // namespace

class TestOsdMessage : public QObject
{
    Q_OBJECT
private slots:
    void blockLayout()
    {
        const QByteArray block =
            mc::osdMessageBlock(QStringLiteral("DPI 2:1600"), QColor(0x12, 0x34, 0x56));
        QByteArray expected(1044, '\0');
        expected.replace(0, 20, utf16le(QStringLiteral("DPI 2:1600")));
        expected.replace(516, 4, QByteArray::fromHex("dc050000"));
        expected.replace(524, 4, QByteArray::fromHex("12345600"));
        expected.replace(528, 4, QByteArray::fromHex("3c000000"));
        expected.replace(532, 10, utf16le(QStringLiteral("Arial")));
        QCOMPARE(block.toHex(' '), expected.toHex(' '));
    }

    void longTextIsCutAt255WithoutSplittingAPair()
    {
        const QByteArray block = mc::osdMessageBlock(QString(300, QLatin1Char('x')), Qt::red);
        QCOMPARE(block.size(), 1044);
        QCOMPARE(block.mid(0, 510), utf16le(QString(255, QLatin1Char('x'))));
        QCOMPARE(block.mid(510, 6), QByteArray(6, '\0'));

        const QString pairAtTheEdge =
            QString(254, QLatin1Char('x')) + QString::fromUtf8("\U0001F5B1");
        const QByteArray cut = mc::osdMessageBlock(pairAtTheEdge, Qt::red);
        QCOMPARE(cut.mid(0, 508), utf16le(QString(254, QLatin1Char('x'))));
        QCOMPARE(cut.mid(508, 4), QByteArray(4, '\0'));
    }

    void readerTakesBackWhatTheLinkSends()
    {
        mc::OsdMessage m;
        QVERIFY(mc::parseOsdMessageBlock(
            mc::osdMessageBlock(QStringLiteral("1000 HZ"), QColor(200, 10, 30)), &m));
        QCOMPARE(m.text, QStringLiteral("1000 HZ"));
        QCOMPARE(m.colour, QColor(200, 10, 30));
        QCOMPARE(m.displayTimeMs, 1500);
        QCOMPARE(m.fontSize, 60);
        QCOMPARE(m.fontFamily, QStringLiteral("Arial"));
    }

    void readerRefusesOrTamesHostileBlocks()
    {
        const QByteArray good = mc::osdMessageBlock(QStringLiteral("x"), Qt::red);
        mc::OsdMessage m;
        QVERIFY(!mc::parseOsdMessageBlock(good.left(1043), &m));
        QVERIFY(!mc::parseOsdMessageBlock(good + '\0', &m));
        QByteArray unterminated = good;
        unterminated.replace(0, 512, QByteArray(512, 'A'));
        QVERIFY(!mc::parseOsdMessageBlock(unterminated, &m));
        QByteArray noFontEnd = good;
        noFontEnd.replace(532, 512, QByteArray(512, 'A'));
        QVERIFY(!mc::parseOsdMessageBlock(noFontEnd, &m));

        QByteArray wild = good;
        wild.replace(516, 4, QByteArray::fromHex("ffffffff")); // -1 ms
        wild.replace(528, 4, QByteArray::fromHex("ffffff7f")); // a font of 2^31 pixels
        wild.replace(532, 2, QByteArray(2, '\0'));             // no font family
        QVERIFY(mc::parseOsdMessageBlock(wild, &m));
        QCOMPARE(m.displayTimeMs, 1);
        QCOMPARE(m.fontSize, 400);
        QCOMPARE(m.fontFamily, QStringLiteral("Arial"));
    }
};

QTEST_GUILESS_MAIN(TestOsdMessage)
#include "test_osdmessage.moc"
