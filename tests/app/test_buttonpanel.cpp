// The button panel inside the main window: the refusals it signals become what the user sees
// (the keep-one-click warning, the macro page), and the panel edits the working store.
#include "buttons/catalogue.h"
#include "buttons/ui/kivbtnwindow.h"
#include "widgets/kivlabel.h"
#include "windowfixture.h"

#include <QAction>
#include <QtTest>

using namespace mc;

class TestButtonPanel : public QObject
{
    Q_OBJECT
private slots:
    void hotspotsAndRowsLightEachOther()
    {
        test::WindowFixture fx(true);
        MousecfgWidget w;
        auto *panel = qobject_cast<KivBtnWindow *>(w.buttonPanel());
        QVERIFY(panel && panel->buttonOfEntry(1));
        w.slotMouseOver(w.frontHotspot(1), true);
        QCOMPARE(panel->buttonOfEntry(1)->state(), 1);
        w.slotMouseOver(w.frontHotspot(1), false);
        QCOMPARE(panel->buttonOfEntry(1)->state(), 0);
        w.slotMouseOver(panel->buttonOfEntry(2), true);
        QCOMPARE(w.frontHotspot(2)->state(), 1);
    }

    void refusalsReachTheUser()
    {
        test::WindowFixture fx(true);
        // A product whose new profile has every described button off: entry 0 gets the only
        // left click.
        for (int n = 0; n < 16; ++n)
            fx.describe(QStringLiteral("PROFILE/BUTTON_INFO_%1_Fun").arg(n), fun::kButtonOff);
        MousecfgWidget w;
        auto *panel = qobject_cast<KivBtnWindow *>(w.buttonPanel());
        QVERIFY(panel);
        const ProfileData &record = w.workingStore().profiles[size_t(w.workingStore().ProfileID)];
        for (int e = 0; e < kButtonCount; ++e)
            QVERIFY(record.buttons[size_t(e)].Fun != fun::kLeft);
        panel->slotMouseEnter(panel->buttonOfEntry(0));
        panel->actionOf(fun::kLeft)->trigger();
        int clicks = 0;
        int click = -1;
        for (int e = 0; e < kButtonCount; ++e) {
            if (record.buttons[size_t(e)].Fun == fun::kLeft) {
                ++clicks;
                click = e;
            }
        }
        QCOMPARE(clicks, 1);

        QString message;
        test::BoxAnswerer answer([&](KivMessageBox *box) {
            message = box->findChild<KivLabel *>(QStringLiteral("msgBoxInfoLabel2"))->text();
            box->accept();
        });
        panel->slotMouseEnter(panel->buttonOfEntry(click));
        panel->actionOf(fun::kRight)->trigger();
        QCOMPARE(answer.count(), 1);
        QCOMPARE(message, QStringLiteral("AT LEAST ONE CLICK FUNCTION TO BE RETAINED."));
        QCOMPARE(record.buttons[size_t(click)].Fun, fun::kLeft);

        // No macro in the list: the macro page opens instead of a dialog.
        const int other = click == 1 ? 2 : 1;
        panel->slotMouseEnter(panel->buttonOfEntry(other));
        panel->actionOf(fun::kMacro)->trigger();
        QCOMPARE(w.currentTab(), 3);
        QVERIFY(record.buttons[size_t(other)].Fun != fun::kMacro);

        // A plain choice lands in the working store.
        panel->slotMouseEnter(panel->buttonOfEntry(40));
        panel->actionOf(fun::kVolumeDown)->trigger();
        QCOMPARE(record.buttons[40].Fun, fun::kVolumeDown);
    }
};

QTEST_MAIN(TestButtonPanel)
#include "test_buttonpanel.moc"
