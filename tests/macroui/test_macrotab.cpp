// The macro editor in the window: while it records, the window's own controls rest and clicks on
// them do nothing; after STOP they work again.
#include "../app/windowfixture.h"
#include "app/mousecfgwidget.h"
#include "macro/macrofile.h"
#include "macro/macrolist.h"
#include "macro/ui/macrodialog.h"

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
};

QTEST_MAIN(TestMacroTab)
#include "test_macrotab.moc"
