// The macro editor driven as a user drives it: its buttons clicked, the command tree clicked,
// keys pressed through the keyboard hook; the macro files, the table and the editor's signals
// show the outcome. The message box and the file dialogs are answered through the editor's
// prompts.
#include "buttons/keycodes.h"
#include "device/macroupload.h"
#include "macro/macrodb.h"
#include "macro/macrolist.h"
#include "macro/ui/kivmacroitemdelegate.h"
#include "macro/ui/kivtreewidget.h"
#include "macro/ui/macroactiontable.h"
#include "macro/ui/macrodialog.h"
#include "platform/keyboardhook.h"
#include "widgets/kivlabel.h"
#include "widgets/kivlineedit.h"
#include "widgets/kivpushbutton.h"

#include "../widgets/skinfixture.h"

#include <QCheckBox>
#include <QDir>
#include <QHeaderView>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

using namespace mc;
using Tool = MacroDialog::Tool;
using Actions = QVector<MacroAction>;
Q_DECLARE_METATYPE(Actions)

namespace {

constexpr uint32_t kScanA = 30; // usage 0x04
constexpr uint32_t kScanB = 48; // usage 0x05
constexpr uint32_t kScanC = 46; // usage 0x06
constexpr uint8_t kA = 0x04;
constexpr uint8_t kB = 0x05;
constexpr uint8_t kC = 0x06;

void down(uint32_t scan)
{
    KeyboardHook::dispatch({scan, 0, 0});
}
void up(uint32_t scan)
{
    KeyboardHook::dispatch({scan, keyflag::kReleased, 0});
}

void makeMacro(const QString &name, const Actions &actions, int delayType = 0)
{
    Macro m;
    m.settings.delayType = delayType;
    m.actions = actions;
    QVERIFY(saveMacro(name, m));
    QVERIFY(addToMacroList(name) >= 0);
}

Actions keys(int n)
{
    Actions out;
    for (int i = 0; i < n; ++i)
        out << (i % 2 ? macro::keyRelease(kA) : macro::keyPress(kA));
    return out;
}

void click(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
}

void clickItem(QTreeWidget *tree, QTreeWidgetItem *item)
{
    // An item just expanded gets its place in the view once events have run.
    QCoreApplication::processEvents();
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(item).center());
}

// An editor over a data folder of its own, shown as the window shows it, whose prompts note
// what it tells and answer the file dialogs from the test's fields.
struct Editor
{
    test::SkinFixture fx;
    QStringList told;
    QString openPath;
    QStringList openPaths;
    QString savePath;
    QString folderPath;
    std::function<QString()> gun;
    std::unique_ptr<MacroDialog> d;

    void open()
    {
        d = std::make_unique<MacroDialog>();
        MacroPrompts p;
        p.tell = [this](const QString &title, const QString &text) { told << title + ": " + text; };
        p.openFile = [this](const QString &, const QString &) { return openPath; };
        p.openFiles = [this](const QString &, const QString &) { return openPaths; };
        p.saveFile = [this](const QString &, const QString &) { return savePath; };
        p.folder = [this](const QString &, const QString &) { return folderPath; };
        p.gunSet = [this] { return gun ? gun() : QString(); };
        d->setPrompts(p);
        d->resize(665, 467);
        d->show();
        QVERIFY(QTest::qWaitForWindowExposed(d.get()));
    }
    void press(Tool t) { click(d->button(t)); }
    MacroActionTable *table() const { return d->actionTable(); }
    void show(const QString &name)
    {
        const auto found = d->macroList()->findItems(name, Qt::MatchExactly);
        if (!found.isEmpty())
            d->macroList()->setCurrentItem(found.first());
        else // batch rows carry their name in a check box
            for (int i = 0; i < d->macroList()->count(); ++i)
                if (d->macroList()->item(i)->data(Qt::UserRole).toString() == name)
                    d->macroList()->setCurrentRow(i);
        QCOMPARE(d->currentMacro(), name);
    }
};

} // namespace

class TestMacroDialog : public QObject
{
    Q_OBJECT
private slots:
    // Where only the editor's own window gives keys, the line saying so sits under START and
    // clear of every other control.
    void captureNoteSitsUnderStart()
    {
        if (KeyboardHook::desktopWideCapture())
            QSKIP("keys are captured desktop-wide here: the editor has no such line");
        Editor e;
        e.open();
        const KivLabel *note = e.d->captureNote();
        QVERIFY(note && note->isVisible() && !note->text().isEmpty());
        const QRect n = note->geometry();
        QVERIFY(n.top() > e.d->button(MacroDialog::Start)->geometry().bottom());
        QVERIFY(n.bottom() < e.d->button(MacroDialog::Edit)->geometry().top());
        for (const QWidget *c : e.d->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly))
            QVERIFY2(c == note || !c->isVisible() || !c->geometry().intersects(n),
                     qPrintable(c->metaObject()->className()));
    }

    void stopWarnsAboutUnreleasedKeysAndStillSaves()
    {
        Editor e;
        makeMacro(QStringLiteral("M1"), keys(4));
        e.open();
        QSignalSpy rest(e.d.get(), &MacroDialog::EnableButtonsSignal);
        e.press(Tool::Start);
        QCOMPARE(rest.size(), 1);
        QCOMPARE(rest.first().first().toBool(), false);
        QCOMPARE(e.table()->count(), 0); // START replaces the actions
        // Only STOP works while recording.
        QVERIFY(e.d->button(Tool::Stop)->isVisible() && e.d->button(Tool::Stop)->isEnabled());
        QVERIFY(!e.d->button(Tool::Start)->isVisible());
        QVERIFY(!e.d->macroList()->isEnabled());
        QVERIFY(!e.d->button(Tool::Save)->isEnabled());
        // Controls that take no click while recording look so, the image ones included.
        for (QWidget *w : {static_cast<QWidget *>(e.d->button(Tool::Add)),
                           static_cast<QWidget *>(e.d->button(Tool::DeleteMacro)),
                           static_cast<QWidget *>(e.d->delayTypeBox(1)),
                           static_cast<QWidget *>(e.d->loopTypeBox(3))}) {
            QVERIFY(!w->isEnabled());
            QVERIFY(w->graphicsEffect());
        }
        down(kScanA);
        down(kScanB);
        up(kScanB);
        QCOMPARE(e.table()->currentAction(), 2); // the last recorded action is selected
        click(e.d->button(Tool::Clear));         // resting: does nothing
        e.press(Tool::Stop);
        QCOMPARE(e.told, QStringList("Warning: ONE OR MORE KEYS HAS NOT BEEN RELEASED."));
        QCOMPARE(rest.size(), 2);
        QCOMPARE(rest.last().first().toBool(), true);
        const Actions want{macro::keyPress(kA), macro::keyPress(kB), macro::keyRelease(kB)};
        QCOMPARE(loadMacro(QStringLiteral("M1")).actions, want);
        QVERIFY(e.d->macroList()->isEnabled());
        QVERIFY(!e.d->button(Tool::Add)->graphicsEffect());
        QCOMPARE(KeyboardHook::installedCount(), 0);

        // A second START that records nothing leaves the recording as it was.
        e.press(Tool::Start);
        QCOMPARE(e.table()->count(), 0);
        e.press(Tool::Stop);
        QCOMPARE(e.table()->actions(), want);
        QCOMPARE(loadMacro(QStringLiteral("M1")).actions, want);
        QVERIFY(!e.d->hasPendingChanges());
    }

    // START without a macro makes one to record into; the table names its columns and shows
    // actions in words, not their bytes.
    void startWithoutAMacroRecordsIntoANewOne()
    {
        Editor e;
        e.open();
        QVERIFY(e.d->currentMacro().isEmpty());
        e.press(Tool::Start);
        QCOMPARE(int(e.d->mode()), int(MacroDialog::Recording));
        const QString name = e.d->currentMacro();
        QVERIFY(!name.isEmpty());
        down(kScanA);
        up(kScanA);
        e.press(Tool::Stop);
        const Actions want{macro::keyPress(kA), macro::keyRelease(kA)};
        QCOMPARE(loadMacro(name).actions, want);
        QVERIFY(macroNames().contains(name));

        MacroActionTable *t = e.table();
        QVERIFY(t->horizontalHeader()->isVisible());
        QCOMPARE(t->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("ACTION"));
        QVERIFY(t->isColumnHidden(2));
        QCOMPARE(macroActionKindText(want.first()), QStringLiteral("Press"));
        QCOMPARE(macroActionValueText(want.first(), 10, false), QStringLiteral("A"));
        QCOMPARE(macroActionValueText(macro::delayCount(12), 10, false), QStringLiteral("120 ms"));
    }

    void recordAfterKeepsTheActionsAroundAndTheLimits()
    {
        Editor e;
        const Actions kept{macro::keyPress(kA), macro::keyRelease(kA)};
        makeMacro(QStringLiteral("M1"), kept);
        makeMacro(QStringLiteral("M2"), keys(38)); // no delays: room for two more
        e.open();
        e.table()->selectAction(0);
        e.press(Tool::RecordAfter);
        down(kScanC);
        up(kScanC);
        e.press(Tool::Stop);
        QVERIFY(e.told.isEmpty());
        const Actions want{macro::keyPress(kA), macro::keyPress(kC), macro::keyRelease(kC),
                           macro::keyRelease(kA)};
        QCOMPARE(e.table()->actions(), want);
        QCOMPARE(loadMacro(QStringLiteral("M1")).actions, want);

        // Without a selection the recording goes after the last action; the kept actions count
        // towards the 40 a recording without delays may reach.
        e.show(QStringLiteral("M2"));
        e.press(Tool::RecordAfter);
        for (uint32_t scan : {kScanB, kScanC}) {
            down(scan);
            up(scan);
        }
        e.press(Tool::Stop);
        const Actions stored = loadMacro(QStringLiteral("M2")).actions;
        QCOMPARE(stored.size(), 40);
        QCOMPARE(stored.mid(38), Actions({macro::keyPress(kB), macro::keyRelease(kB)}));
    }

    void treeInsertsAfterTheSelectedAction_data()
    {
        QTest::addColumn<int>("delayType");
        QTest::addColumn<QStringList>("path"); // the tree's items clicked, by text
        QTest::addColumn<Actions>("inserted");
        QTest::newRow("click with recorded delays")
            << 1 << QStringList{"LEFT CLICK", "LEFT CLICK"}
            << Actions{{129, 0, 1}, {6, 0, 1}, {1, 0, 1}, {6, 0, 1}};
        QTest::newRow("press with the default delay")
            << 2 << QStringList{"RIGHT CLICK", "PRESS DOWN"} << Actions{{129, 0, 2}, {6, 0, 5}};
        QTest::newRow("release without delays")
            << 0 << QStringList{"FORWARD", "BOUNCE UP"} << Actions{{1, 0, 8}};
        QTest::newRow("move up 120")
            << 0 << QStringList{"MOVEMENT", "MOVE UP"} << Actions{{2, 136, 0}};
        QTest::newRow("move left 5 with recorded delays")
            << 1 << QStringList{"MOVEMENT", "MOVE LEFT"} << Actions{{2, 0, 251}, {6, 0, 1}};
    }
    void treeInsertsAfterTheSelectedAction()
    {
        QFETCH(int, delayType);
        QFETCH(QStringList, path);
        QFETCH(Actions, inserted);
        Editor e;
        const Actions around{macro::keyPress(kA), macro::keyRelease(kA)};
        makeMacro(QStringLiteral("M1"), around);
        e.open();
        if (delayType > 0)
            click(e.d->delayTypeBox(delayType));
        e.d->defaultDelayEdit()->clear();
        QTest::keyClicks(e.d->defaultDelayEdit(), QStringLiteral("50"));
        KivTreeWidget *tree = e.d->mouseTree();
        tree->moveItem(mousecmd::Direction::Up)->distanceEdit()->setText(QStringLiteral("120"));
        tree->moveItem(mousecmd::Direction::Left)->distanceEdit()->setText(QStringLiteral("5"));
        e.table()->selectAction(0);
        // The first item of the path is a top-level row, the second the same row or a child.
        const auto top = tree->findItems(path.first(), Qt::MatchExactly);
        QVERIFY(!top.isEmpty());
        clickItem(tree, top.first());
        QTreeWidgetItem *second = top.first();
        for (int c = 0; c < top.first()->childCount(); ++c) {
            if (top.first()->child(c)->text(0) == path.last())
                second = top.first()->child(c);
        }
        clickItem(tree, second);
        Actions want = around;
        for (int i = 0; i < inserted.size(); ++i)
            want.insert(1 + i, inserted.at(i));
        QCOMPARE(e.table()->actions(), want);
        QCOMPARE(e.table()->currentAction(), inserted.size()); // the last inserted is selected
        QVERIFY(e.d->hasPendingChanges());
    }

    void treeInsertsNothingWithoutAMacro()
    {
        Editor e;
        e.open();
        KivTreeWidget *tree = e.d->mouseTree();
        clickItem(tree, tree->buttonItem(0));
        clickItem(tree, tree->buttonItem(0));
        e.press(Tool::InsertDelay);
        QCOMPARE(e.table()->count(), 0);
        QVERIFY(e.d->currentMacro().isEmpty());
    }

    void toolsReorderDeleteSaveAndCancel()
    {
        Editor e;
        const Actions orig{macro::keyPress(kA), macro::keyPress(kB), macro::keyRelease(kB),
                           macro::keyRelease(kA)};
        makeMacro(QStringLiteral("M1"), orig);
        e.open();
        auto *t = e.table();
        // Nothing selected: the tools that need an action do nothing.
        for (Tool tool : {Tool::MoveUp, Tool::Top, Tool::Bottom, Tool::DeleteAction, Tool::Edit})
            e.press(tool);
        QCOMPARE(t->actions(), orig);
        t->selectAction(0);
        e.press(Tool::Top);
        QCOMPARE(t->actions(), orig);
        QVERIFY(!e.d->hasPendingChanges());
        e.press(Tool::Bottom);
        QCOMPARE(t->actions(), Actions({orig[1], orig[2], orig[3], orig[0]}));
        QCOMPARE(t->currentAction(), 3);
        e.press(Tool::Bottom);
        QCOMPARE(t->currentAction(), 3);
        e.press(Tool::MoveUp);
        QCOMPARE(t->actions(), Actions({orig[1], orig[2], orig[0], orig[3]}));
        QCOMPARE(t->currentAction(), 2);
        e.press(Tool::MoveDown);
        e.press(Tool::InsertDelay);
        QCOMPARE(t->actions(), Actions({orig[1], orig[2], orig[3], orig[0], {6, 0, 1}}));
        QCOMPARE(t->currentAction(), 4);
        e.press(Tool::DeleteAction); // the new last one is selected
        QCOMPARE(t->currentAction(), 3);
        t->selectAction(1);
        e.press(Tool::DeleteAction); // the one now at its place is selected
        QCOMPARE(t->actions(), Actions({orig[1], orig[3], orig[0]}));
        QCOMPARE(t->currentAction(), 1);

        // CANCEL reads the file back; SAVE writes what is shown.
        e.press(Tool::Cancel);
        QCOMPARE(t->actions(), orig);
        QVERIFY(!e.d->hasPendingChanges());
        e.press(Tool::Clear);
        e.press(Tool::Save);
        QVERIFY(loadMacro(QStringLiteral("M1")).actions.isEmpty());
    }

    void editModeChangesOneActionOfEachKind()
    {
        Editor e;
        const Actions orig{macro::delayCount(5), macro::keyPress(kA), macro::buttonPress(1),
                           macro::move(5, 0)};
        makeMacro(QStringLiteral("M1"), orig);
        e.open();
        QSignalSpy rest(e.d.get(), &MacroDialog::EnableButtonsSignal);
        auto *t = e.table();

        t->selectAction(0);
        e.press(Tool::Edit);
        QCOMPARE(rest.size(), 1);
        QVERIFY(!e.d->macroList()->isEnabled());
        QVERIFY(!e.d->button(Tool::Start)->isEnabled());
        QVERIFY(e.d->delayEdit()->isVisible());
        QCOMPARE(e.d->delayEdit()->text(), QStringLiteral("50"));
        e.d->delayEdit()->clear();
        QTest::keyClicks(e.d->delayEdit(), QStringLiteral("15"));
        QCOMPARE(t->actionAt(0), macro::delayCount(1)); // whole units: 10 ms
        e.press(Tool::Save);
        QCOMPARE(rest.size(), 2);
        QCOMPARE(loadMacro(QStringLiteral("M1")).actions.first(), macro::delayCount(1));
        QVERIFY(!e.d->delayEdit()->isVisible());

        // A key pressed anywhere replaces the key; a press stays a press.
        t->selectAction(1);
        e.press(Tool::Edit);
        QCOMPARE(e.d->keyLabel()->text(), QStringLiteral("A"));
        down(kScanB);
        up(kScanB);
        QCOMPARE(t->actionAt(1), macro::keyPress(kB));
        QCOMPARE(e.d->keyLabel()->text(), QStringLiteral("B"));
        e.press(Tool::Cancel); // read back: the key is A again
        QCOMPARE(t->actionAt(1), macro::keyPress(kA));
        QCOMPARE(KeyboardHook::installedCount(), 0);

        t->selectAction(2);
        e.press(Tool::Edit);
        e.d->buttonMenu()->actions().at(2)->trigger(); // RIGHT CLICK
        QCOMPARE(t->actionAt(2), macro::buttonPress(2));
        QCOMPARE(e.d->mouseActionButton()->text(), QStringLiteral("RIGHT CLICK"));
        e.press(Tool::Save);

        t->selectAction(3);
        e.press(Tool::Edit);
        QCOMPARE(e.d->distanceEdit()->text(), QStringLiteral("5"));
        e.d->moveMenu()->actions().at(2)->trigger(); // MOVE UP
        e.d->distanceEdit()->clear();
        QTest::keyClicks(e.d->distanceEdit(), QStringLiteral("7"));
        QCOMPARE(t->actionAt(3), MacroAction({2, 249, 0}));
        e.press(Tool::Save);
        const Actions want{
            macro::delayCount(1), macro::keyPress(kA), macro::buttonPress(2), {2, 249, 0}};
        QCOMPARE(loadMacro(QStringLiteral("M1")).actions, want);
        QCOMPARE(rest.last().first().toBool(), true);
    }

    // Inserted and typed delays are whole units of the product's delay unit, at least one.
    void delaysFollowTheProductUnit_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<int>("insertedUnits");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("typedUnits");
        QTest::newRow("unit 20") << 20 << 1 << "15" << 1;
        QTest::newRow("unit 1") << 1 << 10 << "5" << 5;
    }
    void delaysFollowTheProductUnit()
    {
        QFETCH(int, unit);
        QFETCH(int, insertedUnits);
        QFETCH(QString, typed);
        QFETCH(int, typedUnits);
        Editor e;
        e.fx.setDescription(QStringLiteral("PROFILE/MinDelay"), unit);
        makeMacro(QStringLiteral("M1"), {macro::keyPress(kA)});
        e.open();
        auto *t = e.table();
        t->selectAction(0);
        e.press(Tool::InsertDelay);
        QCOMPARE(t->actionAt(1), macro::delayCount(insertedUnits));
        t->selectAction(1);
        e.press(Tool::Edit);
        e.d->delayEdit()->clear();
        QTest::keyClicks(e.d->delayEdit(), typed);
        e.press(Tool::Save);
        QCOMPARE(loadMacro(QStringLiteral("M1")).actions.at(1), macro::delayCount(typedUnits));
    }

    void tooLongMacrosAreMarkedAndTheCutIsTold()
    {
        Editor e;
        makeMacro(QStringLiteral("short"), keys(4));
        makeMacro(QStringLiteral("long"), keys(70)); // no delays: packed past 200 bytes
        e.open();
        QListWidget *list = e.d->macroList();
        QVERIFY(list->item(0)->toolTip().isEmpty());
        QVERIFY(!list->item(1)->toolTip().isEmpty());
        QVERIFY(!e.d->fitLabel()->isVisible());
        e.show(QStringLiteral("long"));
        const MacroFit fit = macroFit(keys(70));
        QVERIFY(e.d->fitLabel()->isVisible());
        QVERIFY(e.d->fitLabel()->text().contains(QString::number(fit.bytesCut)));
        QVERIFY(e.d->fitLabel()->text().contains(QString::number(fit.actionsCut)));
        QCOMPARE(list->item(1)->toolTip(), e.d->fitLabel()->text());
        // Shortened in the editor, the mark goes at once.
        e.press(Tool::Clear);
        QVERIFY(!e.d->fitLabel()->isVisible());
        QVERIFY(list->item(1)->toolTip().isEmpty());
    }

    void copyCutAndPasteWithinAndBetweenMacros()
    {
        Editor e;
        const MacroAction a = macro::keyPress(kA), b = macro::keyRelease(kA),
                          c = macro::delayCount(3), x = macro::buttonPress(1);
        makeMacro(QStringLiteral("M1"), {a, b, c});
        makeMacro(QStringLiteral("M2"), {x});
        e.open();
        auto *t = e.table();
        t->selectionModel()->select(
            QItemSelection(t->model()->index(0, 0), t->model()->index(1, 2)),
            QItemSelectionModel::ClearAndSelect);
        t->copyAction()->trigger();
        t->selectAction(2);
        t->pasteAction()->trigger();
        QCOMPARE(t->actions(), Actions({a, b, c, a, b}));
        QCOMPARE(t->selectedActions(), QVector<int>({3, 4}));
        t->selectAction(0);
        t->cutAction()->trigger();
        QCOMPARE(t->actions(), Actions({b, c, a, b}));
        QCOMPARE(t->currentAction(), 0);

        // Another macro shown: the first one's changes are saved, the cut action can be pasted.
        e.show(QStringLiteral("M2"));
        QCOMPARE(loadMacro(QStringLiteral("M1")).actions, Actions({b, c, a, b}));
        t->selectAction(0);
        t->pasteAction()->trigger();
        QCOMPARE(t->actions(), Actions({x, a}));
        t->clearSelection();
        t->pasteAction()->trigger(); // nothing selected: at the end
        QCOMPARE(t->actions(), Actions({x, a, a}));

        // The usual keys do the same once a row is chosen.
        QTest::mouseClick(t->viewport(), Qt::LeftButton, {},
                          t->visualRect(t->model()->index(0, 0)).center());
        QVERIFY(t->hasFocus());
        QTest::keyClick(t, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(t->actions(), Actions({a, a}));
        QTest::keyClick(t, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(t->actions(), Actions({a, x, a}));
    }

    void databaseRefusalsAreTold()
    {
        Editor e;
        QTemporaryDir outside;
        const QString file = outside.path() + QStringLiteral("/M1.MSMACRO");
        makeMacro(QStringLiteral("M1"), keys(2));
        QVERIFY(QFile::copy(macroFile(QStringLiteral("M1")), file));
        e.open();
        e.openPath = file;
        e.press(Tool::Import);
        QCOMPARE(e.told, QStringList("Warning: Macro Exist!"));

        // A new name is imported, listed and shown.
        QVERIFY(QFile::copy(file, outside.path() + QStringLiteral("/fresh.MSMACRO")));
        e.openPath = outside.path() + QStringLiteral("/fresh.MSMACRO");
        e.press(Tool::Import);
        QCOMPARE(e.d->currentMacro(), QStringLiteral("fresh"));
        QCOMPARE(e.table()->actions(), keys(2));

        for (int i = macroCount(); i < 50; ++i)
            makeMacro(QStringLiteral("X%1").arg(i), {});
        e.d->refreshList();
        e.told.clear();
        e.press(Tool::Add);
        QCOMPARE(e.told, QStringList("WARNING: TOO MANY MACROS TO BE CREATE!"));
        QCOMPARE(e.d->macroList()->count(), 50);

        // Below the limit a new macro is created, listed and shown.
        e.show(QStringLiteral("X40"));
        e.press(Tool::DeleteMacro);
        QCOMPARE(e.d->macroList()->count(), 49);
        QCOMPARE(e.d->currentMacro(), QStringLiteral("X41"));
        e.press(Tool::Add);
        QCOMPARE(e.d->currentMacro(), QStringLiteral("MACRO_1"));
        QVERIFY(macroFileExists(QStringLiteral("MACRO_1")));
    }

    void renameKeepsThePendingChanges()
    {
        Editor e;
        makeMacro(QStringLiteral("M1"), keys(2));
        makeMacro(QStringLiteral("M2"), keys(2));
        e.open();
        e.press(Tool::Clear);
        e.d->nameEdit()->setText(QStringLiteral("M2"));
        e.press(Tool::ChangeName); // taken: made unique
        QCOMPARE(e.d->currentMacro(), QStringLiteral("M2_2"));
        QCOMPARE(macroNames(), QStringList({"M2_2", "M2"}));
        QVERIFY(e.d->hasPendingChanges());
        e.press(Tool::Save);
        QVERIFY(loadMacro(QStringLiteral("M2_2")).actions.isEmpty());
        QVERIFY(!macroFileExists(QStringLiteral("M1")));
    }

    void batchModeExportsTheTickedMacros()
    {
        Editor e;
        for (const char *name : {"M1", "M2", "M3"})
            makeMacro(QLatin1String(name), keys(2));
        e.open();
        e.press(Tool::Batch);
        QVERIFY(e.d->isBatch());
        QListWidget *list = e.d->macroList();
        for (int row : {0, 2})
            qobject_cast<QCheckBox *>(list->itemWidget(list->item(row)))->setChecked(true);
        QCOMPARE(e.d->checkedMacros(), QStringList({"M1", "M3"}));
        QTemporaryDir target;
        e.folderPath = target.path();
        e.press(Tool::Export);
        QCOMPARE(QDir(target.path()).entryList(QDir::Files),
                 QStringList({"M1.MSMACRO", "M3.MSMACRO"}));
        e.press(Tool::Batch);
        QVERIFY(!list->itemWidget(list->item(0)));
    }

    void gunSetShowsTheNewMacroWithRecordedDelays()
    {
        Editor e;
        makeMacro(QStringLiteral("M1"), keys(2), 2);
        e.gun = [] {
            Macro m;
            m.settings.delayType = 1;
            m.actions << macro::buttonPress(1) << macro::buttonRelease(1);
            return createMacro(QStringLiteral("gun"), m).name;
        };
        e.open();
        QVERIFY(e.d->delayTypeBox(2)->isChecked());
        e.press(Tool::Clear); // pending: saved before the gun dialog
        e.press(Tool::GunSet);
        QCOMPARE(e.d->currentMacro(), QStringLiteral("gun"));
        QCOMPARE(e.d->macroList()->currentItem()->text(), QStringLiteral("gun"));
        QVERIFY(e.d->delayTypeBox(1)->isChecked());
        QVERIFY(!e.d->delayTypeBox(2)->isChecked());
        QCOMPARE(e.d->loopTimeEdit()->text(), QStringLiteral("1"));
        QCOMPARE(e.table()->count(), 2);
        QVERIFY(loadMacro(QStringLiteral("M1")).actions.isEmpty());
    }
};

QTEST_MAIN(TestMacroDialog)
#include "test_macrodialog.moc"
