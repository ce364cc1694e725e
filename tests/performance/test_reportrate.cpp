// The report-rate panel: the rate menu and the lift-off pair with its signal.
#include "../widgets/skinfixture.h"
#include "performance/kivoptionbuttons.h"
#include "performance/kivreportrate.h"
#include "widgets/kivpushbutton.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace mc;

class TestReportRate : public QObject
{
    Q_OBJECT
private slots:
    void rateMenuSetsPollrate()
    {
        test::SkinFixture fx;
        KivReportRate panel;
        ProfileData p;
        p.pollrate = 2;
        panel.refresh(p, 1);
        QCOMPARE(panel.rateButton()->text(), QStringLiteral("500 HZ"));
        QAction *hz125 = nullptr;
        for (QAction *a : panel.rateMenu()->actions()) {
            if (a->text() == QLatin1String("125 HZ"))
                hz125 = a;
        }
        QVERIFY(hz125);
        hz125->trigger();
        QCOMPARE(panel.profileData().pollrate, quint8(8));
        QCOMPARE(panel.rateButton()->text(), QStringLiteral("125 HZ"));
        ProfileData collected;
        panel.collect(collected);
        QCOMPARE(collected.pollrate, quint8(8));

        // A rate the menu does not offer leaves the button as it was.
        p.pollrate = 3;
        panel.refresh(p, 1);
        QCOMPARE(panel.rateButton()->text(), QStringLiteral("125 HZ"));
    }

    void liftOutsideTheChoicesShowsTwoMillimetresSilently()
    {
        test::SkinFixture fx;
        KivReportRate panel;
        QSignalSpy lift(&panel, &KivReportRate::RefreshLift);
        panel.refresh(ProfileData(), 1);
        QVERIFY(panel.liftButton(0)->isChecked());
        panel.refresh(ProfileData(), 0);
        QVERIFY(panel.liftButton(1)->isChecked());
        QVERIFY(!panel.liftButton(0)->isChecked());
        QCOMPARE(panel.lift(), quint8(2));
        QCOMPARE(lift.count(), 0);
    }

    void everyClickOnALiftButtonIsReported()
    {
        test::SkinFixture fx;
        KivReportRate panel;
        panel.resize(229, 90);
        panel.show();
        panel.refresh(ProfileData(), 2);
        QSignalSpy lift(&panel, &KivReportRate::RefreshLift);
        QTest::mouseClick(panel.liftButton(0), Qt::LeftButton);
        QTest::mouseClick(panel.liftButton(0), Qt::LeftButton);
        QCOMPARE(lift.count(), 2);
        QCOMPARE(lift.at(0).at(0).value<quint8>(), quint8(1));
        QCOMPARE(lift.at(1).at(0).value<quint8>(), quint8(1));
        QTest::mouseClick(panel.liftButton(1), Qt::LeftButton);
        QCOMPARE(lift.last().at(0).value<quint8>(), quint8(2));
    }
};

QTEST_MAIN(TestReportRate)
#include "test_reportrate.moc"
