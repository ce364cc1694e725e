// The DPI editor: slider ranges and figures per sensor, rows by the product's DPI count, and
// what the sliders, boxes and presses do to the panel's record.
#include "../widgets/skinfixture.h"
#include "performance/kivdpiwindow.h"
#include "performance/kivoptionbuttons.h"
#include "performance/kivsingledpi.h"
#include "performance/kivtwobarslider.h"
#include "widgets/kivlabel.h"
#include "widgets/kivlineedit.h"
#include "widgets/kivslider.h"

#include <QApplication>
#include <QSignalSpy>
#include <QTest>

using namespace mc;

namespace {

ProfileData recordWith(uint32_t raw)
{
    ProfileData p;
    p.dpi = 1;
    for (DpiStage &s : p.stages) {
        s.used = 1;
        s.link = 1;
        s.xy = s.x = s.y = raw;
    }
    return p;
}

} // namespace

class TestDpiWindow : public QObject
{
    Q_OBJECT
private slots:
    void rangeAndLabelsPerSensor_data()
    {
        QTest::addColumn<int>("sensor");
        QTest::addColumn<int>("flag33254");
        QTest::addColumn<QString>("product");
        QTest::addColumn<int>("lowest");
        QTest::addColumn<int>("highest");
        QTest::addColumn<QString>("lowLabel");
        QTest::addColumn<QString>("highLabel");
        QTest::addColumn<bool>("linkShown");
        const QString any = QStringLiteral("KIV M1");
        QTest::newRow("3325") << 3325 << 0 << any << 1 << 50 << "100" << "5000" << false;
        QTest::newRow("3325 wide") << 3325 << 1 << any << 1 << 90 << "100" << "16000" << false;
        QTest::newRow("33252") << 33252 << 0 << any << 1 << 75 << "100" << "10000" << false;
        QTest::newRow("33252 wide") << 33252 << 1 << any << 1 << 90 << "100" << "16000" << false;
        QTest::newRow("3311") << 3311 << 1 << any << 1 << 120 << "100" << "12000" << false;
        QTest::newRow("33112") << 33112 << 0 << any << 1 << 180 << "100" << "24000" << false;
        QTest::newRow("3360") << 3360 << 0 << any << 1 << 180 << "100" << "24000" << true;
        QTest::newRow("3370") << 3370 << 0 << any << 1 << 290 << "50" << "19000" << false;
        QTest::newRow("3327 TELLUN") << 3327 << 0 << "TELLUN" << 1 << 92 << "200" << "12400"
                                     << false;
        QTest::newRow("3327 CASTRELL") << 3327 << 1 << "CASTRELL" << 1 << 92 << "200" << "12400"
                                       << false;
        QTest::newRow("3327 tellun (case counts)") << 3327 << 0 << "tellun" << 1 << 106 << "200"
                                                   << "16400" << false;
        QTest::newRow("3327 other") << 3327 << 0 << any << 1 << 106 << "200" << "16400" << false;
        QTest::newRow("3389") << 3389 << 0 << any << 2 << 480 << "100" << "32000" << true;
        QTest::newRow("3212") << 3212 << 0 << any << 16 << 111 << "600" << "7200" << false;
        QTest::newRow("3104") << 3104 << 0 << any << 14 << 105 << "500" << "4200" << true;
        QTest::newRow("31042") << 31042 << 0 << any << 14 << 158 << "500" << "8400" << true;
        QTest::newRow("3335") << 3335 << 0 << any << 1 << 160 << "100" << "16000" << false;
        QTest::newRow("33352") << 33352 << 0 << any << 1 << 240 << "100" << "32000" << false;
        QTest::newRow("3333") << 3333 << 0 << any << 2 << 120 << "200" << "16000" << false;
        QTest::newRow("3399") << 3399 << 0 << any << 0 << 599 << "50" << "40000" << true;
        QTest::newRow("3395") << 3395 << 0 << any << 0 << 519 << "50" << "26000" << false;
        QTest::newRow("33952") << 33952 << 0 << any << 0 << 779 << "50" << "52000" << false;
    }
    void rangeAndLabelsPerSensor()
    {
        QFETCH(int, sensor);
        QFETCH(int, flag33254);
        QFETCH(QString, product);
        QFETCH(int, lowest);
        QFETCH(int, highest);
        QFETCH(QString, lowLabel);
        QFETCH(QString, highLabel);
        QFETCH(bool, linkShown);
        test::SkinFixture fx;
        fx.setDescription(QStringLiteral("PROFILE/33254"), flag33254);
        fx.setConfig(QStringLiteral("Config/CurrentProductName"), product);
        KivDPIWindow panel(recordWith(1));
        panel.refresh(recordWith(uint32_t(highest)), sensor);
        for (int i = 0; i < kStageCount; ++i) {
            KivSingleDPI *r = panel.row(i);
            QCOMPARE(r->slider()->minimum(), lowest);
            QCOMPARE(r->slider()->maximum(), highest);
            QCOMPARE(r->lowestLabel()->text(), lowLabel);
            QCOMPARE(r->highestLabel()->text(), highLabel);
            QCOMPARE(r->linkBox()->isHidden(), !linkShown);
            // The highest raw value reads as the highest figure.
            QCOMPARE(r->dpiLabel()->text(), QStringLiteral("DPI : ") + highLabel);
        }
    }

    void unknownSensorKeepsRangeAndShowsZero()
    {
        test::SkinFixture fx;
        ProfileData p = recordWith(40);
        p.stages[2].link = 0;
        p.stages[2].y = 60;
        KivDPIWindow panel(p);
        panel.refresh(p, 3395);
        panel.refresh(p, 0);
        KivSingleDPI *r = panel.row(2);
        QCOMPARE(r->slider()->maximum(), 519);
        QCOMPARE(r->highestLabel()->text(), QStringLiteral("26000"));
        QCOMPARE(r->dpiLabel()->text(), QStringLiteral("DPI : 0"));
        QCOMPARE(r->xLabel()->text(), QStringLiteral("X:0"));
        QCOMPARE(r->yLabel()->text(), QStringLiteral("Y:0"));
    }

    void rowsFollowDpiCount_data()
    {
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("rows");
        QTest::newRow("3") << 3 << 3;
        QTest::newRow("0 counts as 8") << 0 << 8;
        QTest::newRow("12 counts as 8") << 12 << 8;
    }
    void rowsFollowDpiCount()
    {
        QFETCH(int, count);
        QFETCH(int, rows);
        test::SkinFixture fx;
        fx.setDescription(QStringLiteral("PROFILE/ButtonCount"), 5);
        fx.setDescription(QStringLiteral("PROFILE/MouseDpi"), 5);
        fx.setDescription(QStringLiteral("PROFILE/DPICount"), count);
        KivDPIWindow panel(recordWith(10));
        panel.resize(456, 460);
        panel.show();
        for (int i = 0; i < kStageCount; ++i)
            QCOMPARE(panel.row(i)->isVisible(), i < rows);
        QCOMPARE(panel.row(rows - 1)->geometry(), QRect(15, 43 + 50 * (rows - 1), 440, 48));
    }

    void slidersSetXAndYOnly()
    {
        test::SkinFixture fx;
        ProfileData p = recordWith(10);
        p.stages[4].xy = 7;
        KivDPIWindow panel(p);
        panel.refresh(p, 3325);
        KivSingleDPI *r = panel.row(4);
        QSignalSpy dpi(r, &KivSingleDPI::DPISignal);
        r->slider()->linkedSlider()->setValue(40);
        QCOMPARE(dpi.count(), 1);
        QCOMPARE(dpi.at(0).at(2).value<quint8>(), quint8(4));
        QCOMPARE(panel.profileData().stages[4].x, 40u);
        QCOMPARE(panel.profileData().stages[4].y, 40u);
        QCOMPARE(panel.profileData().stages[4].xy, 7u);
        QCOMPARE(r->dpiLabel()->text(), QStringLiteral("DPI : 4000"));

        // Apart, each axis moves alone.
        r->linkBox()->click();
        QCOMPARE(panel.profileData().stages[4].link, quint8(0));
        QVERIFY(r->slider()->linkedSlider()->isHidden());
        QVERIFY(!r->slider()->ySlider()->isHidden());
        r->slider()->ySlider()->setValue(12);
        QCOMPARE(panel.profileData().stages[4].x, 40u);
        QCOMPARE(panel.profileData().stages[4].y, 12u);
        QCOMPARE(r->yLabel()->text(), QStringLiteral("Y:1200"));

        ProfileData collected = recordWith(1);
        panel.collect(collected);
        QCOMPARE(collected.stages[4].y, 12u);
        QCOMPARE(collected.stages[4].link, quint8(0));
        QCOMPARE(collected.stages[3].x, 10u);
        QCOMPARE(collected.dpi, quint8(1));
    }

    // A damaged raw value is shown where the slider can show it, and that is what the panel
    // hands back for "Apply".
    void damagedValueIsShownAndKeptWithinTheRange()
    {
        test::SkinFixture fx;
        ProfileData p = recordWith(20);
        p.stages[2].x = p.stages[2].y = 75; // beyond 3325's top of 50
        KivDPIWindow panel(p);
        panel.refresh(p, 3325);
        KivSingleDPI *r = panel.row(2);
        QCOMPARE(r->slider()->linkedSlider()->value(), 50);
        QCOMPARE(r->dpiLabel()->text(), QStringLiteral("DPI : 5000"));
        ProfileData collected;
        panel.collect(collected);
        QCOMPARE(collected.stages[2].x, 50u);
        QCOMPARE(collected.stages[2].y, 50u);
        QCOMPARE(collected.stages[1].x, 20u);
    }

    // Slot 1's stages are shown with the active stage of the record shown, and collected back
    // into both records.
    void sharedStagesShownAndCollected()
    {
        test::SkinFixture fx;
        ProfileData shown = recordWith(20);
        shown.dpi = 3;
        const ProfileData shared = recordWith(40);
        KivDPIWindow panel(shown);
        panel.refresh(shown, shared, 3325);
        QCOMPARE(panel.row(0)->slider()->linkedSlider()->value(), 40);
        QVERIFY(panel.row(3)->isActive());
        panel.row(1)->slider()->linkedSlider()->setValue(12);
        ProfileData a = shown, b = shared;
        panel.collect(a);
        panel.collectStages(b);
        QCOMPARE(a.stages[1].x, 12u);
        QCOMPARE(b.stages[1].x, 12u);
        QCOMPARE(a.stages[0].x, 40u);
        QCOMPARE(int(a.dpi), 3);
        QCOMPARE(int(b.dpi), 1);
    }

    // An exact DPI: typed over the figure and taken to the sensor's nearest step, or stepped
    // with the arrow keys and the wheel.
    void exactDpiByTypingKeysAndWheel()
    {
        test::SkinFixture fx;
        KivDPIWindow panel(recordWith(10));
        panel.refresh(recordWith(10), 3325); // 100 DPI a step
        panel.resize(456, 460);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        KivSingleDPI *r = panel.row(0);
        QTest::mouseClick(r->dpiLabel(), Qt::LeftButton);
        QVERIFY(r->dpiEdit()->isVisible());
        QCOMPARE(r->dpiEdit()->text(), QStringLiteral("1000"));
        r->dpiEdit()->selectAll();
        QTest::keyClicks(r->dpiEdit(), QStringLiteral("1260"));
        QTest::keyClick(r->dpiEdit(), Qt::Key_Return);
        QVERIFY(!r->dpiEdit()->isVisible());
        QCOMPARE(r->dpiLabel()->text(), QStringLiteral("DPI : 1300"));
        ProfileData collected;
        panel.collect(collected);
        QCOMPARE(collected.stages[0].x, 13u);
        QCOMPARE(collected.stages[0].y, 13u);

        // Escape leaves the stage as it was; a figure beyond the range takes its end.
        QTest::mouseClick(r->dpiLabel(), Qt::LeftButton);
        QTest::keyClicks(r->dpiEdit(), QStringLiteral("7"));
        QTest::keyClick(r->dpiEdit(), Qt::Key_Escape);
        QCOMPARE(r->dpiLabel()->text(), QStringLiteral("DPI : 1300"));
        QTest::mouseClick(r->dpiLabel(), Qt::LeftButton);
        r->dpiEdit()->selectAll();
        QTest::keyClicks(r->dpiEdit(), QStringLiteral("99999"));
        QTest::keyClick(r->dpiEdit(), Qt::Key_Return);
        QCOMPARE(r->dpiLabel()->text(), QStringLiteral("DPI : 5000"));

        // The key goes to the window, which hands it to the slider only if it took the focus.
        KivSlider *s = r->slider()->linkedSlider();
        QVERIFY(QTest::qWaitForWindowActive(&panel));
        QTest::mouseClick(s, Qt::LeftButton, {}, QPoint(s->width() - 2, s->height() / 2));
        QCOMPARE(r->dpiLabel()->text(), QStringLiteral("DPI : 5000"));
        QTest::keyClick(panel.windowHandle(), Qt::Key_Left);
        QCOMPARE(r->dpiLabel()->text(), QStringLiteral("DPI : 4900"));
        QWheelEvent down(QPointF(5, 5), QPointF(s->mapToGlobal(QPoint(5, 5))), QPoint(),
                         QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(s, &down);
        QCOMPARE(r->dpiLabel()->text(), QStringLiteral("DPI : 4800"));
        panel.collect(collected);
        QCOMPARE(collected.stages[0].y, 48u);

        // Apart, a figure typed sets only its own axis: the stage's figure is Y's.
        r->linkBox()->click();
        QVERIFY(r->xLabel()->isVisible());
        QTest::mouseClick(r->dpiLabel(), Qt::LeftButton);
        r->dpiEdit()->selectAll();
        QTest::keyClicks(r->dpiEdit(), QStringLiteral("2000"));
        QTest::keyClick(r->dpiEdit(), Qt::Key_Return);
        QTest::mouseClick(r->xLabel(), Qt::LeftButton);
        QVERIFY(r->dpiEdit()->isVisible());
        QCOMPARE(r->dpiEdit()->text(), QStringLiteral("4800"));
        r->dpiEdit()->selectAll();
        QTest::keyClicks(r->dpiEdit(), QStringLiteral("800"));
        QTest::keyClick(r->dpiEdit(), Qt::Key_Return);
        QCOMPARE(r->xLabel()->text(), QStringLiteral("X:800"));
        QCOMPARE(r->yLabel()->text(), QStringLiteral("Y:2000"));
        panel.collect(collected);
        QCOMPARE(collected.stages[0].x, 8u);
        QCOMPARE(collected.stages[0].y, 20u);
    }

    void refreshShowsTheRecordsEnableFlags()
    {
        test::SkinFixture fx;
        KivDPIWindow panel(recordWith(10));
        panel.refresh(recordWith(10), 3325);
        panel.row(2)->enableBox()->click();
        QCOMPARE(panel.profileData().stages[2].used, quint8(0));
        panel.row(2)->enableBox()->click();
        QCOMPARE(panel.profileData().stages[2].used, quint8(1));
        QVERIFY(panel.row(2)->enableBox()->isChecked());

        ProfileData disabled = recordWith(10);
        disabled.stages[2].used = 0;
        QSignalSpy enable(panel.row(2), &KivSingleDPI::EnableSignal);
        panel.refresh(disabled, 3325);
        QVERIFY(!panel.row(2)->enableBox()->isChecked());
        QVERIFY(panel.row(1)->enableBox()->isChecked());
        QCOMPARE(enable.count(), 0); // a refresh is not an edit
    }

    void pressMakesTheActiveStage()
    {
        test::SkinFixture fx;
        KivDPIWindow panel(recordWith(10));
        panel.resize(456, 460);
        panel.show();
        QVERIFY(panel.row(1)->isActive());
        QTest::mousePress(panel.row(3), Qt::LeftButton, {}, QPoint(2, 2));
        QCOMPARE(panel.profileData().dpi, quint8(3));
        for (int i = 0; i < kStageCount; ++i)
            QCOMPARE(panel.row(i)->isActive(), i == 3);
        QTest::mousePress(panel.row(5)->dpiLabel(), Qt::LeftButton);
        QCOMPARE(panel.profileData().dpi, quint8(5));
        QVERIFY(panel.row(5)->isActive());
        QVERIFY(!panel.row(3)->isActive());
    }
};

QTEST_MAIN(TestDpiWindow)
#include "test_dpiwindow.moc"
