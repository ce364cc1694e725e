// The macro editor in the window: while it records, the window's own controls rest and clicks on
// them do nothing; after STOP they work again. A renamed macro stays on the buttons that run it.
#include "../app/windowfixture.h"
#include "app/mousecfgwidget.h"
#include "app/writecontroller.h"
#include "macro/macrofile.h"
#include "macro/macrolist.h"
#include "macro/ui/macrodialog.h"
#include "profile/paths.h"
#include "profile/profiledefaults.h"
#include "profile/profilefile.h"
#include "widgets/kivlineedit.h"

#include <QtTest>

using namespace mc;
using mc::test::WindowFixture;

class TestMacroTab : public QObject
{
    Q_OBJECT
private slots:
    void recordingRestsTheWindow()
    {
        WindowFixture fx(true);
        QVERIFY(saveMacro(QStringLiteral("M1"), Macro()));
        QVERIFY(addToMacroList(QStringLiteral("M1")) >= 0);
        MousecfgWidget w;
        w.switchTab(3);
        MacroDialog *editor = w.macroPanel();
        QVERIFY(editor->isVisibleTo(&w));
        QCOMPARE(editor->currentMacro(), QStringLiteral("M1"));
        KivPushButton *start = editor->button(MacroDialog::Start);
        QTest::mouseClick(start, Qt::LeftButton, {}, start->rect().center());
        QCOMPARE(editor->mode(), MacroDialog::Recording);
        QVERIFY(!w.applyButton()->isEnabled());
        QVERIFY(!w.tabButton(0)->isEnabled());
        w.tabButton(1)->setGeometry(0, 0, 60, 20);
        QTest::mouseClick(w.tabButton(1), Qt::LeftButton);
        QCOMPARE(w.currentTab(), 3);
        KivPushButton *stop = editor->button(MacroDialog::Stop);
        QTest::mouseClick(stop, Qt::LeftButton, {}, stop->rect().center());
        QVERIFY(w.applyButton()->isEnabled());
        QVERIFY(w.tabButton(0)->isEnabled());
        QCOMPARE(w.tabButton(3)->state(), 1);
    }

    // Renamed in the editor, the macro is still what the button runs, and what Apply sends.
    void renamedMacroStaysOnItsButtons()
    {
        WindowFixture fx(true);
        fx.describe(QStringLiteral("PROFILE/ButtonCount"), 6); // buttons 0..5 reach the mouse
        Macro m;
        m.actions = {macro::keyPress(4), macro::keyRelease(4)};
        QVERIFY(saveMacro(QStringLiteral("M1"), m));
        QVERIFY(addToMacroList(QStringLiteral("M1")) >= 0);
        ProfileData slot;
        BuildDefaultProfile(slot);
        slot.buttons[2].Fun = kMacroFunction;
        slot.buttons[2].macroname = QStringLiteral("M1");
        QVERIFY(WriteProfileFile(slot, profileFile(QStringLiteral("Profile 1"))));
        MousecfgWidget w;
        QCOMPARE(w.workingStore().profiles[0].buttons[2].macroname, QStringLiteral("M1"));

        w.switchTab(3);
        MacroDialog *editor = w.macroPanel();
        editor->nameEdit()->setText(QStringLiteral("Fire"));
        KivPushButton *rename = editor->button(MacroDialog::ChangeName);
        QTest::mouseClick(rename, Qt::LeftButton, {}, rename->rect().center());
        QCOMPARE(editor->currentMacro(), QStringLiteral("Fire"));
        QCOMPARE(w.workingStore().profiles[0].buttons[2].macroname, QStringLiteral("Fire"));

        QSignalSpy written(w.writer(), &WriteController::writeFinished);
        QTest::mouseClick(w.applyButton(), Qt::LeftButton);
        QTRY_COMPARE(written.count(), 1);
        QCOMPARE(w.workingStore().profiles[0].buttons[2].macroname, QStringLiteral("Fire"));
        // The macro's packet starts with its first action, not with the end of an empty one.
        QCOMPARE(fx.mouse().macroArea().left(3).toHex(' '), QByteArray("84 04 00"));
    }
};

QTEST_MAIN(TestMacroTab)
#include "test_macrotab.moc"
