// The step row: its icon, and for delay rows what typed text commits to, how the value is kept
// in two bytes of 10 ms, and that losing the focus discards the edit.
#include "profile/paths.h"
#include "widgets/kivlineedit.h"
#include "widgets/kivlistitem.h"

#include <QDir>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <QLoggingCategory>

using namespace mc;

namespace {
QStringList g_log;
void keepLog(QtMsgType, const QMessageLogContext &, const QString &msg)
{
    g_log << msg;
}
} // namespace

class TestKivListItem : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        setAppDir(m_dir.path());
        // The probe below is a debug message, off unless asked for.
        QLoggingCategory::setFilterRules(QStringLiteral("mousecfg.*.debug=true"));
    }

    void commitRules_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("ms");
        QTest::addColumn<int>("dataH");
        QTest::addColumn<int>("dataL");
        QTest::newRow("5 becomes 10") << "5" << 10 << 0 << 1;
        QTest::newRow("0 becomes 10") << "0" << 10 << 0 << 1;
        QTest::newRow("10 stays") << "10" << 10 << 0 << 1;
        QTest::newRow("19 truncates") << "19" << 10 << 0 << 1;
        QTest::newRow("1234 becomes 1230") << "1234" << 1230 << 0 << 123;
        QTest::newRow("2560 crosses a byte") << "2560" << 2560 << 1 << 0;
        QTest::newRow("65529 truncates") << "65529" << 65520 << 25 << 152;
        QTest::newRow("65530 stays") << "65530" << 65530 << 25 << 153;
        QTest::newRow("65531 is the maximum") << "65531" << 65530 << 25 << 153;
        QTest::newRow("huge is the maximum") << "99999999" << 65530 << 25 << 153;
        QTest::newRow("empty becomes 10") << "" << 10 << 0 << 1;
        QTest::newRow("garbage becomes 10") << "abc" << 10 << 0 << 1;
        QTest::newRow("negative becomes 10") << "-50" << 10 << 0 << 1;
    }
    void commitRules()
    {
        QFETCH(QString, typed);
        QFETCH(int, ms);
        QFETCH(int, dataH);
        QFETCH(int, dataL);
        QCOMPARE(committedDelay(typed), ms);

        KivListItem row(kDelayStepType, 6, 0, 10, QString(), QString());
        QSignalSpy changed(&row, &KivListItem::delayChanged);
        row.startEdit();
        QVERIFY(row.isEditing());
        row.editor()->setText(typed); // the validator guards typing, not setText
        row.editPressSlot();
        QVERIFY(!row.isEditing());
        QCOMPARE(row.delayMs(), ms);
        QCOMPARE(int(row.dataH()), dataH);
        QCOMPARE(int(row.dataL()), dataL);
        QCOMPARE(row.text(), QString::number(ms) + QStringLiteral(" ms"));
        QCOMPARE(changed.count(), 1);
    }

    void enterInEditorCommits()
    {
        KivListItem row(kDelayStepType, 6, 0, 10, QString(), QString());
        row.startEdit();
        row.editor()->setText(QStringLiteral("1234"));
        QTest::keyClick(row.editor(), Qt::Key_Return);
        QCOMPARE(row.delayMs(), 1230);
    }

    // The product's unit instead of 10 ms: never below one unit, whole units, and the bytes
    // count units.
    void delaysInTheProductsUnit()
    {
        QCOMPARE(committedDelay(QStringLiteral("15"), 20), 20);
        QCOMPARE(committedDelay(QStringLiteral("5"), 1), 5);
        QCOMPARE(committedDelay(QStringLiteral("99999"), 1), 65535);
        QCOMPARE(committedDelay(QStringLiteral("45"), 0), 40); // no unit reads as 10 ms
        KivListItem row(kDelayStepType, 6, 0, 10, QString(), QString());
        row.setDelayUnit(20);
        QCOMPARE(row.text(), QStringLiteral("200 ms"));
        row.startEdit();
        row.editor()->setText(QStringLiteral("55"));
        row.editPressSlot();
        QCOMPARE(row.delayMs(), 40);
        QCOMPARE(int(row.dataL()), 2);
        QCOMPARE(row.text(), QStringLiteral("40 ms"));
    }

    void lostFocusDiscards()
    {
        KivListItem row(kDelayStepType, 6, 0, 10, QString(), QString());
        QCOMPARE(row.delayMs(), 100);
        row.startEdit();
        row.editor()->setText(QStringLiteral("500"));
        emit row.editor()->kivLostFocus();
        QVERIFY(!row.isEditing());
        QCOMPARE(row.delayMs(), 100);
        // Enter after the editor closed does nothing.
        row.editPressSlot();
        QCOMPARE(row.delayMs(), 100);
    }

    // The row is covered by its icon and its text: a double-click on either opens the editor.
    void doubleClickOpensEditor_data()
    {
        QTest::addColumn<int>("x");
        QTest::newRow("icon") << 10;
        QTest::newRow("text") << 75;
    }
    void doubleClickOpensEditor()
    {
        QFETCH(int, x);
        KivListItem row(kDelayStepType, 6, 0, 10, QString(), QString());
        row.show();
        QVERIFY(QTest::qWaitForWindowExposed(&row));
        QTest::mouseDClick(row.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                           QPoint(x, row.height() / 2));
        QVERIFY(row.isEditing());
    }

    // A row taken down with its editor open must not run its slots half-destroyed: closing the
    // row's window in ~QWidget takes the focus from the editor, which still reports it.
    void destroyedWhileEditingRunsNoSlot()
    {
        auto *row = new KivListItem(kDelayStepType, 6, 0, 10, QString(), QString());
        row->show();
        row->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(row));
        row->startEdit();
        QVERIFY(row->editor()->hasFocus());

        g_log.clear();
        const QtMessageHandler previous = qInstallMessageHandler(keepLog);
        delete row;
        qInstallMessageHandler(previous);
        QVERIFY2(!g_log.join(QLatin1Char('|')).contains(QLatin1String("lostFocusSlot")),
                 qPrintable(g_log.join(QLatin1Char('|'))));
    }

    // The icon sits in the square at the row's left, the text after it.
    void iconIsDrawn()
    {
        QDir(m_dir.path()).mkpath(QStringLiteral("skin"));
        QImage img(20, 20, QImage::Format_ARGB32);
        img.fill(QColor(10, 200, 30));
        QVERIFY(img.save(m_dir.path() + QStringLiteral("/skin/step.png")));
        KivListItem row(2, 2, 3, 0, QStringLiteral("MOVE DOWN 3"),
                        m_dir.path() + QStringLiteral("/skin/step.png"));
        row.resize(200, 30);
        QCOMPARE(row.grab().toImage().pixelColor(15, 15), QColor(10, 200, 30));
    }

    void otherRowsDoNotEdit()
    {
        KivListItem row(1, 129, 0, 1, QStringLiteral(" UP"), QString());
        row.startEdit();
        QVERIFY(!row.isEditing());
        QVERIFY(!row.editor());
        QCOMPARE(row.text(), QStringLiteral(" UP"));
        QCOMPARE(int(row.map()), 129);
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(TestKivListItem)
#include "test_kivlistitem.moc"
