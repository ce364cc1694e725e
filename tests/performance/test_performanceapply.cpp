// The DPI tab in the window: what its panels show after "Apply" is what the mouse holds.
#include "../app/windowfixture.h"
#include "device/dpiencoding.h"
#include "performance/kivdpiwindow.h"
#include "performance/kivoptionbuttons.h"
#include "performance/kivpointspeed.h"
#include "performance/kivreportrate.h"
#include "performance/kivsingledpi.h"
#include "performance/kivtwobarslider.h"
#include "widgets/kivslider.h"

#include <QMenu>
#include <QTest>

using namespace mc;
using namespace mc::test;

class TestPerformanceApply : public QObject
{
    Q_OBJECT
private slots:
    void applySendsWhatThePanelsShow()
    {
        WindowFixture fx(true);
        fx.configure(QStringLiteral("MouseSenSor/1"), 3325);
        fx.describe(QStringLiteral("PROFILE/Sync"), 2);
        MousecfgWidget w;
        w.switchTab(2);
        auto *dpi = w.dpiPanel();
        auto *rate = w.ratePanel();
        auto *pointer = w.pointerPanel();
        QVERIFY(dpi && rate && pointer);
        QVERIFY(dpi->isVisibleTo(&w) && rate->isVisibleTo(&w) && pointer->isVisibleTo(&w));
        const uint32_t xyBefore = w.workingStore().profiles[0].stages[0].xy;
        // A stage nobody touched: the panels showed the store from the start, so Apply hands it
        // back unchanged (a new profile's stages are all in use).
        const DpiStage untouched = w.workingStore().profiles[0].stages[1];
        QCOMPARE(int(untouched.used), 1);

        dpi->row(0)->slider()->linkedSlider()->setValue(40);
        for (QAction *a : rate->rateMenu()->actions()) {
            if (a->text() == QLatin1String("125 HZ"))
                a->trigger();
        }
        pointer->keyResponseSlider()->setValue(33);
        QTest::mouseClick(pointer->box(KivPointSpeed::AnglePair, 0), Qt::LeftButton);
        QTest::mouseClick(rate->liftButton(0), Qt::LeftButton);
        QTest::mouseClick(w.applyButton(), Qt::LeftButton);

        const ProfileStore &s = w.workingStore();
        QCOMPARE(s.profiles[0].stages[0].x, 40u);
        QCOMPARE(s.profiles[0].stages[0].xy, xyBefore);
        QCOMPARE(s.profiles[0].pollrate, quint8(8));
        QCOMPARE(s.profiles[0].stages[1].used, untouched.used);
        // Unchanged as the panel shows it: within the sensor's range (the fixture's product
        // gives no stages, so the raw 0 shows as the lowest step, and that is sent).
        QCOMPARE(s.profiles[0].stages[1].x, uint32_t(qBound(1, int(untouched.x), 50)));
        QCOMPARE(s.profiles[0].stages[1].x, uint32_t(dpi->row(1)->x()));
        QTRY_COMPARE(fx.mouse().blockMemory(0x01).at(11), char(8));
        const QByteArray general = fx.mouse().blockMemory(0x01);
        QCOMPARE(int(uint8_t(general.at(9))), 33);
        // Lift 1 mm, angle snapping on (0x40); sync and jitter stay as the store had them.
        QCOMPARE(uint8_t(general.at(5)) & 0x4F, 0x41);
        const QByteArray stages = fx.mouse().blockMemory(0x02);
        const auto reg = encodeStageResolution(3325, 40, 40, 0);
        QCOMPARE(stages.mid(2, 4), QByteArray(reinterpret_cast<const char *>(reg.data()), 4));
    }

    // The mouse takes its stages from slot 1's record alone: a stage edited while slot 3 is
    // active goes there as well, and reaches the mouse.
    void stagesEditedOnAnotherSlotReachTheMouse()
    {
        WindowFixture fx(true);
        fx.configure(QStringLiteral("MouseSenSor/1"), 3325);
        fx.configure(QStringLiteral("Config/ProfileID"), 2);
        MousecfgWidget w;
        w.switchTab(2);
        auto *dpi = w.dpiPanel();
        QVERIFY(dpi);
        dpi->row(0)->slider()->linkedSlider()->setValue(33);
        QTest::mouseClick(w.applyButton(), Qt::LeftButton);
        const ProfileStore &s = w.workingStore();
        QCOMPARE(s.profiles[0].stages[0].x, 33u);
        QCOMPARE(s.profiles[2].stages[0].x, 33u);
        QTRY_VERIFY(fx.mouse().commitCount() > 0);
        const QByteArray stages = fx.mouse().blockMemory(0x02);
        const auto reg = encodeStageResolution(3325, 33, 33, 0);
        QCOMPARE(stages.mid(2, 4), QByteArray(reinterpret_cast<const char *>(reg.data()), 4));
    }
};

QTEST_MAIN(TestPerformanceApply)
#include "test_performanceapply.moc"
