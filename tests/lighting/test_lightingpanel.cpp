// The lighting panel: what it shows for a mode, where each change is stored, and the colour
// dialog's outcome reaching the store.
#include "lighting/colorareas.h"
#include "lighting/kivcolorarea.h"
#include "lighting/kivcolorwindow.h"
#include "widgets/kivlabel.h"
#include "widgets/kivpushbutton.h"
#include "widgets/kivslider.h"

#include "../widgets/skinfixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QMenu>
#include <QTimer>
#include <QtTest>

using namespace mc;

namespace {

// The visible parts of the panel, by what they are.
QStringList shownParts(const KivColorWindow &p)
{
    const std::vector<std::pair<const char *, QWidget *>> parts = {
        {"effect", p.effectButton()},       {"bright", p.brightSlider()},
        {"speed", p.speedSlider()},         {"colour", p.swatch()},
        {"sleep", p.sleepSlider()},         {"minutes", p.minutesLabel()},
        {"moveoff", p.moveOffBox()},        {"brightcap", p.brightCaption()},
        {"speedcap", p.speedCaption()},     {"colourcap", p.colourCaption()},
        {"sleepcap", p.sleepCaption()},
    };
    QStringList out;
    for (const auto &[name, w] : parts) {
        if (w->isVisibleTo(&p) && !w->geometry().isEmpty())
            out << QLatin1String(name);
    }
    out.sort();
    return out;
}

// Closes the next colour dialog after letting the action pick in it.
void answerColourDialog(std::function<void(KivColorArea *)> action)
{
    QTimer::singleShot(0, [action] {
        auto *d = qobject_cast<KivColorArea *>(QApplication::activeModalWidget());
        QVERIFY(d);
        action(d);
    });
}

} // namespace

class TestLightingPanel : public QObject
{
    Q_OBJECT
private slots:
    void modeDecidesTheControls_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("off") << 0 << "OFF" << "effect minutes moveoff sleep sleepcap";
        QTest::newRow("not in the menu")
            << 6 << "Horizontal WAVE"
            << "bright brightcap effect minutes moveoff sleep sleepcap speed speedcap";
        QTest::newRow("static")
            << 1 << "FULL LIGHTED"
            << "bright brightcap colour colourcap effect minutes moveoff sleep sleepcap";
    }
    void modeDecidesTheControls()
    {
        QFETCH(int, mode);
        QFETCH(QString, name);
        QFETCH(QString, shown);
        test::SkinFixture fx;
        fx.setDescription(QStringLiteral("PROFILE/ShowSleep"), 1);
        ProfileStore store;
        store.profiles[0].LedMode = uint8_t(mode);
        KivColorWindow p(store);
        p.resize(351, 440);
        p.setProfileData(&store.profiles[0]);
        QCOMPARE(p.effectButton()->text(), name);
        QCOMPARE(shownParts(p).join(QLatin1Char(' ')), shown);
    }

    void breathingShowsSpeedInTheUpperPlace()
    {
        test::SkinFixture fx;
        fx.setDescription(QStringLiteral("PROFILE/ShowSleep"), 0);
        ProfileStore store;
        store.profiles[0].LedMode = 4;
        KivColorWindow p(store);
        p.setProfileData(&store.profiles[0]);
        QCOMPARE(p.brightSlider()->y(), 97);
        QCOMPARE(p.speedSlider()->y(), 156);
        p.modeAction(2)->trigger();
        QCOMPARE(p.speedSlider()->y(), 97);
        QCOMPARE(p.speedCaption()->y(), 78);
        QVERIFY(!p.brightSlider()->isVisibleTo(&p));
        // Without ShowSleep the sleep controls take no room.
        QVERIFY(p.sleepSlider()->geometry().isEmpty());
        QVERIFY(p.moveOffBox()->geometry().isEmpty());
    }

    void menuOffersTenModesInOrder()
    {
        test::SkinFixture fx;
        ProfileStore store;
        KivColorWindow p(store);
        p.setProfileData(&store.profiles[0]);
        QStringList texts;
        for (QAction *a : p.effectMenu()->actions())
            texts << a->text();
        QCOMPARE(texts, QStringList({"FULL LIGHTED", "BREATHING", "7 COLOR BREATHING", "RAINBOW",
                                     "WAVE", "REACTIVE", "GO WITHOUT TRACE", "yo-yo", "Marbles",
                                     "OFF"}));
        // A second refresh builds the menu anew rather than adding to it.
        p.refresh();
        QCOMPARE(p.effectMenu()->actions().size(), 10);
    }

    void moveOffAndSleepTime()
    {
        test::SkinFixture fx;
        fx.setDescription(QStringLiteral("PROFILE/ShowSleep"), 1);
        fx.setDescription(QStringLiteral("PROFILE/SleepMin"), 1);
        fx.setDescription(QStringLiteral("PROFILE/SleepMax"), 30);
        ProfileStore store;
        store.ProfileID = 2;
        // The mouse takes both from slot 0, so slot 0's are shown whatever slot is active.
        store.profiles[0].LedMoveOFF = 255;
        store.profiles[0].LedSleepTime = 5;
        store.profiles[2].LedMoveOFF = 0;
        store.profiles[2].LedSleepTime = 7;
        KivColorWindow p(store);
        p.resize(351, 440);
        p.setProfileData(&store.profiles[2]);
        QVERIFY(!p.moveOffBox()->isChecked());
        QCOMPARE(p.sleepSlider()->minimum(), 1);
        QCOMPARE(p.sleepSlider()->maximum(), 30);
        QCOMPARE(p.minutesLabel()->text(), QStringLiteral("5 MINUTE"));

        QTest::mouseClick(p.moveOffBox(), Qt::LeftButton, {}, QPoint(5, 12));
        QVERIFY(p.moveOffBox()->isChecked());
        QCOMPARE(store.profiles[2].LedMoveOFF, 0);
        QCOMPARE(store.profiles[0].LedMoveOFF, 0); // the mouse takes it from slot 0
        QTest::mouseClick(p.moveOffBox(), Qt::LeftButton, {}, QPoint(5, 12));
        QCOMPARE(store.profiles[2].LedMoveOFF, 255);

        p.sleepSlider()->setValue(30);
        QCOMPARE(store.profiles[0].LedSleepTime, 30);
        QCOMPARE(store.profiles[2].LedSleepTime, 30);
        QCOMPARE(p.minutesLabel()->text(), QStringLiteral("30 MINUTE"));
    }

    void effectGoesToTheLightingSlot_data()
    {
        QTest::addColumn<QString>("product");
        QTest::addColumn<int>("target");
        QTest::newRow("shared lighting") << "9130" << 0;
        QTest::newRow("per slot") << "KIV M1" << 3;
    }
    void effectGoesToTheLightingSlot()
    {
        QFETCH(QString, product);
        QFETCH(int, target);
        test::SkinFixture fx;
        fx.setConfig(QStringLiteral("Config/CurrentProductName"), product);
        ProfileStore store;
        store.ProfileID = 3;
        for (ProfileData &r : store.profiles)
            r.LedMode = 4;
        // The values shown are slot 0's, which the mouse takes whatever the lighting slot.
        store.profiles[0].leds[2].breath = 4;
        store.profiles[3].leds[2].breath = 2;
        KivColorWindow p(store);
        p.setProfileData(&store.profiles[3]);
        p.modeAction(2)->trigger(); // BREATHING
        for (int slot = 0; slot < kSlotCount; ++slot)
            QCOMPARE(int(store.profiles[size_t(slot)].LedMode), slot == target ? 2 : 4);
        QCOMPARE(p.effectButton()->text(), QStringLiteral("BREATHING"));
        QCOMPARE(p.speedSlider()->value(), 4);
    }

    void slidersReachSlotZeroForTheShownEffect()
    {
        test::SkinFixture fx;
        ProfileStore store;
        store.ProfileID = 3;
        store.profiles[0].LedMode = 1;
        store.profiles[3].LedMode = 4;
        KivColorWindow p(store);
        p.setProfileData(&store.profiles[3]);
        p.brightSlider()->setValue(3);
        p.speedSlider()->setValue(5);
        // The mouse takes the values of every effect from slot 0: the shown effect's entry there
        // changes, and so does the shown record.
        QCOMPARE(store.profiles[0].leds[4].bright, 3u);
        QCOMPARE(store.profiles[0].leds[4].breath, 5u);
        QCOMPARE(store.profiles[3].leds[4].bright, 3u);
        QCOMPARE(store.profiles[0].leds[1].bright, 0u);
        QCOMPARE(int(store.profiles[0].LedMode), 1);
    }

    void colourDialogOutcome()
    {
        test::SkinFixture fx;
        ProfileStore store;
        store.ProfileID = 1;
        store.profiles[1].LedMode = 1;
        store.profiles[0].leds[1].color = QColor(10, 20, 30); // what the mouse shows
        store.profiles[1].leds[1].color = QColor(1, 2, 3);
        KivColorWindow p(store);
        p.resize(351, 440);
        p.setProfileData(&store.profiles[1]);
        const ProfileStore before = store;
        QCOMPARE(p.swatch()->colour(), QColor(10, 20, 30));

        answerColourDialog([](KivColorArea *d) {
            QCOMPARE(d->colour(), QColor(10, 20, 30));
            QTest::mouseClick(d->swatch(3), Qt::LeftButton);
            QTest::mouseClick(d->cancelButton(), Qt::LeftButton);
        });
        QTest::mouseClick(p.swatch(), Qt::LeftButton);
        QVERIFY(store == before);
        QCOMPARE(p.swatch()->colour(), QColor(10, 20, 30));

        answerColourDialog([](KivColorArea *d) {
            QTest::mouseClick(d->swatch(3), Qt::LeftButton);
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
        });
        QTest::mouseClick(p.swatch(), Qt::LeftButton);
        QCOMPARE(store.profiles[1].leds[1].color, QColor(0, 255, 255));
        QCOMPARE(store.profiles[0].leds[1].color, QColor(0, 255, 255));
        QCOMPARE(store.profiles[1].leds[1].h, 180u);
        QCOMPARE(p.swatch()->colour(), QColor(0, 255, 255));
    }

    // Damaged values are shown within the controls' ranges and stored as shown, in slot 0,
    // whose values the mouse takes; the colour box follows the effect chosen.
    void shownIsStoredAndFollowsTheEffect()
    {
        test::SkinFixture fx;
        fx.setDescription(QStringLiteral("PROFILE/ShowSleep"), 1);
        ProfileStore store;
        store.ProfileID = 2;
        store.profiles[2].LedMode = 4; // RAINBOW
        store.profiles[0].leds[4].bright = 7;
        store.profiles[0].leds[4].breath = 9;
        store.profiles[0].LedSleepTime = 30;
        store.profiles[2].leds[4].bright = 2; // never reaches the mouse
        store.profiles[0].leds[1].color = QColor(Qt::red);
        store.profiles[0].leds[2].color = QColor(Qt::yellow);
        store.profiles[2].leds[1].color = QColor(Qt::blue);
        KivColorWindow p(store);
        p.resize(351, 440);
        p.setProfileData(&store.profiles[2]);
        QCOMPARE(p.brightSlider()->value(), 3);
        QCOMPARE(p.speedSlider()->value(), 5);
        QCOMPARE(p.sleepSlider()->value(), 9);
        QCOMPARE(store.profiles[0].leds[4].bright, 3u);
        QCOMPARE(store.profiles[0].leds[4].breath, 5u);
        QCOMPARE(int(store.profiles[0].LedSleepTime), 9);

        p.modeAction(2)->trigger(); // BREATHING
        QCOMPARE(p.swatch()->colour(), QColor(Qt::yellow));
        p.modeAction(1)->trigger(); // FULL LIGHTED
        QCOMPARE(p.swatch()->colour(), QColor(Qt::red));
        p.setProfileData(&store.profiles[2]);
        QCOMPARE(p.swatch()->colour(), QColor(Qt::red));
    }

    void sliderStyleFollowsScaleAndTheme()
    {
        const QString s = KivColorWindow::sliderStyle(1.5, QColor(1, 2, 3));
        QVERIFY(s.contains(QLatin1String("groove:horizontal { height: 6px;")));
        QVERIFY(s.contains(QLatin1String("stop: 1 rgb(1, 2, 3)); border-radius: 3px;")));
        QVERIFY(s.contains(QLatin1String("width: 12px; height: 12px; background: rgb(1, 2, 3); "
                                         "margin: -3px 0; border-radius: 6px;")));
        // At an odd step the handle stays round: whole pixels, a radius of half its height.
        QVERIFY(KivColorWindow::sliderStyle(1.25, QColor(1, 2, 3))
                    .contains(QLatin1String("width: 9px; height: 9px; background: rgb(1, 2, 3); "
                                            "margin: -2px 0; border-radius: 4px;")));
    }
};

QTEST_MAIN(TestLightingPanel)
#include "test_lightingpanel.moc"
