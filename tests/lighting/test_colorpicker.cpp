// The colour dialog keeps its strip, square, preview, boxes and hexadecimal field on one colour,
// whichever of them the user changes.
#include "lighting/colorareas.h"
#include "lighting/hexcolor.h"
#include "lighting/kivcolorarea.h"
#include "widgets/uiscale.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QtTest>

using namespace mc;

namespace {

QString boxes(const KivColorArea &d)
{
    QStringList v;
    for (char c : {'H', 'S', 'V', 'R', 'G', 'B'})
        v << QString::number(d.box(c)->value());
    return v.join(QLatin1Char(' '));
}

} // namespace

class TestColorPicker : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { setScaleFactor(1.0); }

    void swatchSetsEveryControl_data()
    {
        QTest::addColumn<QColor>("start");
        QTest::newRow("from red") << QColor(255, 0, 0);
        // The swatch's blue equals the current blue: the change must still happen.
        QTest::newRow("from blue") << QColor(0, 0, 255);
    }
    void swatchSetsEveryControl()
    {
        QFETCH(QColor, start);
        KivColorArea d;
        d.setColour(start);
        QSignalSpy changed(&d, &KivColorArea::KivChangeColor);
        QTest::mouseClick(d.swatch(3), Qt::LeftButton);
        QCOMPARE(boxes(d), QStringLiteral("180 255 255 0 255 255"));
        QCOMPARE(d.hexField()->text(), QStringLiteral("00ffff"));
        QCOMPARE(d.preview()->colour(), QColor(0, 255, 255));
        QCOMPARE(d.square()->saturation(), 255);
        QCOMPARE(d.hueStrip()->hue(), 180);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0).at(0).value<QColor>(), QColor(0, 255, 255));
    }

    void squareCornerGivesFullSaturationAndValue()
    {
        KivColorArea d;
        d.setColour(QColor(0, 0, 0));
        d.box('H')->setValue(120);
        SVColorArea *sq = d.square();
        QTest::mousePress(sq, Qt::LeftButton, {}, QPoint(sq->width() - 1, 0));
        QCOMPARE(sq->saturation(), 255);
        QCOMPARE(sq->value(), 255);
        QCOMPARE(boxes(d), QStringLiteral("120 255 255 0 255 0"));
        QCOMPARE(d.hexField()->text(), QStringLiteral("00ff00"));
        // Bottom-left, beyond the edge: no saturation, no value.
        QTest::mousePress(sq, Qt::LeftButton, {}, QPoint(-20, sq->height() + 20));
        QCOMPARE(d.colour(), QColor(0, 0, 0));
    }

    void hue360IsHue0()
    {
        KivColorArea d;
        d.setColour(QColor(255, 0, 0));
        d.box('H')->setValue(200);
        d.box('H')->setValue(360);
        const QColor at360 = d.colour();
        const QString hex360 = d.hexField()->text();
        d.box('H')->setValue(0);
        QCOMPARE(at360, d.colour());
        QCOMPARE(hex360, QStringLiteral("ff0000"));
    }

    void hueStripLimitsAndDrag()
    {
        KivColorArea d;
        d.setColour(QColor(255, 0, 0));
        HColorArea *strip = d.hueStrip();
        QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(5, -10));
        QCOMPARE(strip->hue(), 360);
        QCOMPARE(strip->fraction(), 1.0);
        QTest::mouseRelease(strip, Qt::LeftButton, {}, QPoint(5, -10));
        QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(5, strip->height() + 10));
        QCOMPARE(strip->hue(), 0);
        QCOMPARE(strip->fraction(), 0.0);
        // Half way: the square takes the hue and the rest of the dialog shows its colour.
        QTest::mousePress(strip, Qt::LeftButton, {}, QPoint(5, strip->height() / 2));
        QCOMPARE(strip->hue(), 180);
        QCOMPARE(d.square()->hue(), 180);
        QCOMPARE(d.hexField()->text(), QStringLiteral("00ffff"));
        QCOMPARE(d.box('H')->value(), 180);
    }

    void rgbBoxesDriveTheRest()
    {
        KivColorArea d;
        d.setColour(QColor(0, 0, 0));
        d.box('R')->setValue(255);
        d.box('G')->setValue(128);
        QCOMPARE(d.hexField()->text(), QStringLiteral("ff8000"));
        QCOMPARE(d.box('H')->value(), QColor(255, 128, 0).hsvHue());
        QCOMPARE(d.box('S')->value(), 255);
        QCOMPARE(d.preview()->colour(), QColor(255, 128, 0));
        QCOMPARE(d.box('R')->prefix(), QStringLiteral("R "));
    }

    void hexFieldReadsAndCompletes_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<QString>("completed");
        QTest::newRow("short form") << "abc" << QColor(0xaa, 0xbb, 0xcc) << "aabbcc";
        QTest::newRow("two digits are blue") << "FF" << QColor(0, 0, 255) << "0000FF";
        QTest::newRow("five digits") << "1FF00" << QColor(1, 255, 0) << "01FF00";
        QTest::newRow("one digit") << "7" << QColor(0, 0, 7) << "000007";
        QTest::newRow("six digits") << "12aB34" << QColor(0x12, 0xab, 0x34) << "12aB34";
    }
    void hexFieldReadsAndCompletes()
    {
        QFETCH(QString, typed);
        QFETCH(QColor, colour);
        QFETCH(QString, completed);
        KivColorArea d;
        d.setColour(QColor(200, 100, 50));
        d.show();
        d.hexField()->setFocus();
        d.hexField()->selectAll();
        QTest::keyClicks(d.hexField(), typed);
        QCOMPARE(d.colour(), colour);
        QCOMPARE(d.preview()->colour(), colour);
        QCOMPARE(d.box('B')->value(), colour.blue());
        QCOMPARE(d.box('V')->value(), colour.value());
        QCOMPARE(d.hexField()->text(), typed); // kept while typing
        QTest::keyClick(d.hexField(), Qt::Key_Return);
        QCOMPARE(d.hexField()->text(), completed);
        QCOMPARE(d.colour(), colour);
    }

    void hexFieldEmptyOrTooLongIsBlack()
    {
        KivColorArea d;
        d.setColour(QColor(200, 100, 50));
        d.show();
        d.hexField()->setFocus();
        d.hexField()->selectAll();
        QTest::keyClick(d.hexField(), Qt::Key_Backspace);
        QCOMPARE(d.colour(), QColor(0, 0, 0));
        QCOMPARE(d.box('R')->value(), 0);
        QTest::keyClick(d.hexField(), Qt::Key_Return);
        QCOMPARE(d.hexField()->text(), QStringLiteral("000000"));
        // The field holds six digits; seven reach the reading only from outside.
        QTest::keyClicks(d.hexField(), QStringLiteral("1234567"));
        QCOMPARE(d.hexField()->text(), QStringLiteral("000000"));
        d.setColour(QColor(200, 100, 50));
        d.editChangedSlot(QStringLiteral("1234567"));
        QCOMPARE(d.colour(), QColor(0, 0, 0));
        QCOMPARE(completeHexText(QStringLiteral("1234567")), QStringLiteral("000000"));
        QCOMPARE(colourFromHexText(QStringLiteral("zz")), QColor(0, 0, 0));
    }
};

QTEST_MAIN(TestColorPicker)
#include "test_colorpicker.moc"
