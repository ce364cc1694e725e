// The sensor options panel: the pairs with their polarity, the ranges of key response and wheel
// speed, and the arrangement per product.
#include "../widgets/skinfixture.h"
#include "performance/kivoptionbuttons.h"
#include "performance/kivpointspeed.h"
#include "widgets/kivlabel.h"
#include "widgets/kivslider.h"

#include <QSpinBox>
#include <QTest>

using namespace mc;

class TestPointSpeed : public QObject
{
    Q_OBJECT
private slots:
    void pairsShowAndSetTheirPolarity()
    {
        test::SkinFixture fx;
        fx.setDescription(QStringLiteral("PROFILE/Sync"), 2);
        KivPointSpeed panel;
        panel.resize(229, 366);
        panel.show();
        ProfileData p;
        p.scrollspeed = 3;
        panel.refresh(p, 1, 0, 1, 0, 20);
        using P = KivPointSpeed;
        QVERIFY(panel.box(P::SyncPair, 0)->isChecked());    // sync 1: ON
        QVERIFY(panel.box(P::AnglePair, 1)->isChecked());   // angle 1: OFF
        QVERIFY(!panel.box(P::AnglePair, 0)->isChecked());
        QVERIFY(panel.box(P::JitterPair, 0)->isChecked());  // jitter 0: ON
        QVERIFY(panel.box(P::LiftPair, 1)->isChecked());    // lift 0 shows 2mm...
        QCOMPARE(panel.lift(), quint8(0));                  // ...and stays 0

        QTest::mouseClick(panel.box(P::AnglePair, 0), Qt::LeftButton);
        QCOMPARE(panel.angle(), quint8(0));
        QVERIFY(panel.box(P::AnglePair, 0)->isChecked());
        QVERIFY(!panel.box(P::AnglePair, 1)->isChecked());
        QTest::mouseClick(panel.box(P::JitterPair, 1), Qt::LeftButton);
        QCOMPARE(panel.jitter(), quint8(1));
        QTest::mouseClick(panel.box(P::SyncPair, 1), Qt::LeftButton);
        QCOMPARE(panel.sync(), quint8(0));
        // A click on the checked box of a pair leaves it checked.
        QTest::mouseClick(panel.box(P::SyncPair, 1), Qt::LeftButton);
        QVERIFY(panel.box(P::SyncPair, 1)->isChecked());
        QCOMPARE(panel.sync(), quint8(0));
        // The lift-off choice made in the report-rate panel.
        panel.setLift(1);
        QVERIFY(panel.box(P::LiftPair, 0)->isChecked());

        ProfileStore store;
        panel.collect(store);
        QCOMPARE(store.Sync, quint8(0));
        QCOMPARE(store.LiftHigh, quint8(1));
        QCOMPARE(store.AngleValue, quint8(0));
        QCOMPARE(store.Jitter, quint8(1));
        QCOMPARE(store.Debounce, quint8(20));
    }

    void keyResponseAndWheelSpeedStayInRange()
    {
        test::SkinFixture fx;
        KivPointSpeed panel;
        ProfileData p;
        p.scrollspeed = 40; // damaged file
        panel.refresh(p, 0, 1, 1, 1, 0);
        QCOMPARE(panel.debounce(), quint8(1));
        QCOMPARE(panel.keyResponseLabel()->text(), QStringLiteral("1"));
        ProfileStore store;
        panel.collect(store);
        QCOMPARE(store.Debounce, quint8(1));
        QCOMPARE(p.scrollspeed, quint8(20)); // what the box shows is what is sent

        panel.scrollSpeedBox()->setValue(0);
        QCOMPARE(p.scrollspeed, quint8(1));
        panel.scrollSpeedBox()->setValue(7);
        QCOMPARE(p.scrollspeed, quint8(7));
        panel.scrollSpeedBox()->setValue(99);
        QCOMPARE(p.scrollspeed, quint8(20));
        panel.keyResponseSlider()->setValue(300);
        QCOMPARE(panel.debounce(), quint8(255));
        panel.keyResponseSlider()->setValue(-4);
        QCOMPARE(panel.debounce(), quint8(1));
        panel.keyResponseSlider()->setValue(42);
        QCOMPARE(panel.keyResponseLabel()->text(), QStringLiteral("42"));

        // Refreshing with another record leaves the first one alone.
        ProfileData other;
        other.scrollspeed = 5;
        panel.refresh(other, 0, 1, 1, 1, 9);
        QCOMPARE(p.scrollspeed, quint8(20));
        panel.scrollSpeedBox()->setValue(6);
        QCOMPARE(other.scrollspeed, quint8(6));
        QCOMPARE(p.scrollspeed, quint8(20));
    }

    void arrangementFollowsProductSync_data()
    {
        QTest::addColumn<int>("variant");
        QTest::addColumn<bool>("sync");
        QTest::addColumn<bool>("angleAndJitter");
        QTest::newRow("0") << 0 << false << false;
        QTest::newRow("1") << 1 << true << false;
        QTest::newRow("2") << 2 << true << true;
        QTest::newRow("7: common controls only") << 7 << false << false;
    }
    void arrangementFollowsProductSync()
    {
        QFETCH(int, variant);
        QFETCH(bool, sync);
        QFETCH(bool, angleAndJitter);
        test::SkinFixture fx;
        fx.setDescription(QStringLiteral("PROFILE/Sync"), variant);
        KivPointSpeed panel;
        panel.resize(229, 366);
        panel.show();
        using P = KivPointSpeed;
        QVERIFY(panel.keyResponseSlider()->isVisible());
        QVERIFY(panel.scrollSpeedBox()->isVisible());
        QCOMPARE(panel.box(P::SyncPair, 0)->isVisible(), sync);
        QCOMPARE(panel.box(P::AnglePair, 1)->isVisible(), angleAndJitter);
        QCOMPARE(panel.box(P::JitterPair, 0)->isVisible(), angleAndJitter);
        // Everything shown lies inside the panel.
        for (QWidget *w : panel.findChildren<QWidget *>()) {
            if (w->isVisible() && w->parentWidget() == &panel)
                QVERIFY2(panel.rect().contains(w->geometry()), qPrintable(w->metaObject()->className()));
        }
    }
};

QTEST_MAIN(TestPointSpeed)
#include "test_pointspeed.moc"
