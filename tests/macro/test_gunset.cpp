// Gun files: the steps a description gives, the "GUN SET" dialog as a user fills it in, and the
// whole flow the macro editor runs, down to the macro file and the macro list.
#include "macro/gun/gunset.h"
#include "macro/gun/gunsteps.h"
#include "macro/gun/kivgunsetdialog.h"
#include "macro/macrofile.h"
#include "macro/macrolist.h"
#include "profile/paths.h"
#include "widgets/kivlabel.h"
#include "widgets/kivlineedit.h"
#include "widgets/kivlistitem.h"
#include "widgets/kivmessagebox.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <functional>

using namespace mc;

Q_DECLARE_METATYPE(QVector<mc::GunShot>)
Q_DECLARE_METATYPE(QVector<mc::MacroAction>)

namespace {

const MacroAction kDown{129, 0, 1};
const MacroAction kUp{1, 0, 1};

// Answers the modal windows the flow opens, one step per window, in order: each step gets the
// window that is modal at the time; a window beyond the steps is rejected, so a flow that asks
// more than expected ends instead of waiting. Message boxes and the dialog run their own event
// loops, so the steps run from timers. Counts the windows it met.
class ModalScript : public QObject
{
public:
    explicit ModalScript(QVector<std::function<void(QWidget *)>> steps) : m_steps(std::move(steps))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            QWidget *w = QApplication::activeModalWidget();
            // A window is marked once handled: the next one may reuse its address.
            if (!w || w->property("scripted").toBool())
                return;
            w->setProperty("scripted", true);
            const int step = m_met++;
            // Run from a timer of its own: a step that opens the next window blocks in that
            // window's loop, and a timer never fires again while its own handler runs.
            QTimer::singleShot(0, w, [this, w, step] {
                if (step < m_steps.size())
                    m_steps[step](w);
                else if (auto *d = qobject_cast<QDialog *>(w))
                    d->reject();
            });
        });
        m_timer.start();
    }
    int met() const { return m_met; }

private:
    QVector<std::function<void(QWidget *)>> m_steps;
    QTimer m_timer;
    int m_met = 0;
};

void click(QWidget *w)
{
    QTest::mouseClick(w, Qt::LeftButton);
}
void pressYes(QWidget *dialog)
{
    click(dialog->findChild<KivPushButton *>(QStringLiteral("msgBoxYesBtn")));
}
void pressNo(QWidget *dialog)
{
    click(dialog->findChild<KivPushButton *>(QStringLiteral("msgBoxNoBtn")));
}

KivGunsetDialog *gunDialog(QWidget *w)
{
    auto *d = qobject_cast<KivGunsetDialog *>(w);
    if (!d)
        QTest::qFail("the gun dialog is not the modal window", __FILE__, __LINE__);
    return d;
}

// What a message box said, as "title: message", and closes it.
std::function<void(QWidget *)> readBox(QString &said)
{
    return [&said](QWidget *w) {
        auto *box = qobject_cast<KivMessageBox *>(w);
        if (!box) {
            said = QStringLiteral("(no message box)");
            if (auto *d = qobject_cast<QDialog *>(w))
                d->reject();
            return;
        }
        said = box->findChild<KivLabel *>(QStringLiteral("msgBoxInfoLabel1"))->text() +
               QStringLiteral(": ") +
               box->findChild<KivLabel *>(QStringLiteral("msgBoxInfoLabel2"))->text();
        box->accept();
    };
}

void chooseBullets(KivGunsetDialog *d, int n)
{
    d->bulletMenu()->actions().at(n - 1)->trigger();
}

// Two shots, the second pulling up and left.
void describeBurst(KivGunsetDialog *d, const QString &name)
{
    QTest::keyClicks(d->nameEdit(), name);
    chooseBullets(d, 2);
    d->delayBox(0)->setValue(100);
    d->verticalBox(0)->setValue(3);
    d->horizontalBox(0)->setValue(-2);
    d->delayBox(1)->setValue(250);
    d->verticalBox(1)->setValue(-7);
}

} // namespace

class TestGunSet : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void steps_data();
    void steps();
    void stepBoxesKeepTheMovementLimitAndUnusedRowsAreOff();
    void stepListFollowsTheDescription();
    void createsTheGunFileUnderAFreeName();
    void refusesAFullMacroList();
    void emptyOrUnusableNameKeepsTheDialogOpen_data();
    void emptyOrUnusableNameKeepsTheDialogOpen();
    void drawsItsOwnBackground();

private:
    QScopedPointer<QTemporaryDir> m_dir;
};

void TestGunSet::init()
{
    m_dir.reset(new QTemporaryDir);
    QVERIFY(m_dir->isValid());
    setAppDir(m_dir->path());
    QVERIFY(QDir().mkpath(configDir()));
    setScaleFactor(1.0);
    resetThemeCache();
}

void TestGunSet::steps_data()
{
    QTest::addColumn<QVector<GunShot>>("shots");
    QTest::addColumn<int>("unit");
    QTest::addColumn<QVector<MacroAction>>("expected");
    const QVector<MacroAction> shot = {kDown, kUp, {2, 3, 0}, {2, 0, 254}, {6, 0, 10}};
    QTest::newRow("two shots, down 3, left 2, 100 ms")
        << QVector<GunShot>{{100, 3, -2}, {100, 3, -2}} << 10 << shot + shot;
    QTest::newRow("no pause and no correction: the click only")
        << QVector<GunShot>{{0, 0, 0}} << 10 << QVector<MacroAction>{kDown, kUp};
    QTest::newRow("up and right, the pause in the product's unit")
        << QVector<GunShot>{{999, -120, 120}} << 4
        << QVector<MacroAction>{kDown, kUp, {2, 136, 0}, {2, 0, 120}, {6, 0, 249}};
    QTest::newRow("a step beyond the limit is held at it")
        << QVector<GunShot>{{10, 500, 0}} << 10
        << QVector<MacroAction>{kDown, kUp, {2, 120, 0}, {6, 0, 1}};
}

void TestGunSet::steps()
{
    QFETCH(QVector<GunShot>, shots);
    QFETCH(int, unit);
    QFETCH(QVector<MacroAction>, expected);
    QCOMPARE(gunSteps(shots, unit), expected);
}

void TestGunSet::stepBoxesKeepTheMovementLimitAndUnusedRowsAreOff()
{
    KivGunsetDialog d(10);
    d.verticalBox(0)->setValue(121);
    d.horizontalBox(0)->setValue(-500);
    QCOMPARE(d.verticalBox(0)->value(), 120);
    QCOMPARE(d.horizontalBox(0)->value(), -120);
    d.delayBox(0)->setValue(0);
    QCOMPARE(d.delayBox(0)->value(), 10); // one unit of the product
    d.delayBox(0)->setValue(1000);
    QCOMPARE(d.delayBox(0)->value(), 999);
    QCOMPARE(d.delayBox(4)->value(), 100);

    chooseBullets(&d, 3);
    QCOMPARE(d.bulletCount(), 3);
    for (int i = 0; i < kMaxGunShots; ++i) {
        for (QSpinBox *b : {d.delayBox(i), d.verticalBox(i), d.horizontalBox(i)})
            QCOMPARE(b->isEnabled(), i < 3);
    }
    QCOMPARE(d.shots().size(), 3);
}

void TestGunSet::stepListFollowsTheDescription()
{
    KivGunsetDialog d(10);
    describeBurst(&d, QStringLiteral("ak"));
    const QVector<MacroAction> expected = {kDown, kUp, {2, 3, 0},   {2, 0, 254}, {6, 0, 10},
                                           kDown, kUp, {2, 249, 0}, {6, 0, 25}};
    QCOMPARE(d.steps(), expected);
    QCOMPARE(d.stepList()->count(), expected.size());
    // A row beyond the bullet count takes no part, whatever it holds.
    d.verticalBox(2)->setValue(50);
    QCOMPARE(d.steps(), expected);
    chooseBullets(&d, 1);
    QCOMPARE(d.steps().size(), 5);

    // A product whose delay unit is 20 ms: a typed 35 is one unit, and the list says 20 ms.
    KivGunsetDialog coarse(20);
    coarse.delayBox(0)->setValue(35);
    QTest::keyClick(coarse.delayBox(0), Qt::Key_Return);
    QCOMPARE(coarse.delayBox(0)->value(), 20);
    const QVector<MacroAction> steps = coarse.steps();
    QCOMPARE(steps.last(), (MacroAction{6, 0, 1}));
    auto *pause = qobject_cast<KivListItem *>(
        coarse.stepList()->itemWidget(coarse.stepList()->item(steps.size() - 1)));
    QVERIFY(pause);
    QCOMPARE(pause->text(), QStringLiteral("20 ms"));
    QCOMPARE(pause->delayMs(), 20);
}

void TestGunSet::createsTheGunFileUnderAFreeName()
{
    for (const QString &expectedName : {QStringLiteral("ak"), QStringLiteral("ak_2")}) {
        ModalScript script({[](QWidget *w) {
            KivGunsetDialog *d = gunDialog(w);
            describeBurst(d, QStringLiteral("ak"));
            pressYes(d);
        }});
        QCOMPARE(runGunSet(nullptr), expectedName);
        QCOMPARE(script.met(), 1);
    }
    QCOMPARE(macroNames(), (QStringList{"ak", "ak_2"}));

    const QString path = macroFile(QStringLiteral("ak_2"));
    QSettings s(path, QSettings::IniFormat);
    s.beginGroup(QStringLiteral("Setting"));
    QCOMPARE(s.value("MacroFilePath").toString(), path);
    QCOMPARE(s.value("DefaultDelay").toInt(), 10);
    QCOMPARE(s.value("DelayType").toInt(), 1);
    QCOMPARE(s.value("LoopType").toInt(), 0);
    QCOMPARE(s.value("LoopTime").toInt(), 1);
    QCOMPARE(s.value("Count").toInt(), 9);
    QVERIFY(!s.contains("WriteSign"));
    const QVector<MacroAction> expected = {kDown, kUp, {2, 3, 0},   {2, 0, 254}, {6, 0, 10},
                                           kDown, kUp, {2, 249, 0}, {6, 0, 25}};
    QCOMPARE(readStoredActions(QStringLiteral("ak_2")), expected);
}

void TestGunSet::refusesAFullMacroList()
{
    {
        QSettings s(appSettingsFile(), QSettings::IniFormat);
        for (int i = 0; i < 50; ++i)
            s.setValue(QStringLiteral("MACRO_LIST/%1").arg(i), QStringLiteral("m%1").arg(i));
    }
    QString said;
    ModalScript script({readBox(said)});
    QCOMPARE(runGunSet(nullptr), QString());
    QCOMPARE(said, QStringLiteral("WARNING: TOO MANY MACROS TO BE CREATE!"));
    QCOMPARE(script.met(), 1); // the box only: the dialog never opened
    QVERIFY(!QDir(macroDir()).exists() || QDir(macroDir()).isEmpty());
}

void TestGunSet::emptyOrUnusableNameKeepsTheDialogOpen_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("warning");
    QTest::newRow("empty") << QString() << "Warning: Please input file name.";
    QTest::newRow("blanks") << "   "
                            << "Warning: Please input file name.";
    QTest::newRow("path") << "../ak"
                          << "Warning: INVALID MACRO NAME!";
}

void TestGunSet::emptyOrUnusableNameKeepsTheDialogOpen()
{
    QFETCH(QString, name);
    QFETCH(QString, warning);
    QString said;
    bool openAfterWarning = false;
    KivGunsetDialog *dialog = nullptr;
    ModalScript script({[&](QWidget *w) {
                            dialog = gunDialog(w);
                            QTest::keyClicks(dialog->nameEdit(), name);
                            // The warning runs its own loop inside the press, where the
                            // script answers it.
                            pressYes(dialog);
                            openAfterWarning = dialog->isVisible();
                            pressNo(dialog);
                        },
                        readBox(said)});
    QCOMPARE(runGunSet(nullptr), QString());
    QCOMPARE(script.met(), 2);
    QCOMPARE(said, warning);
    QVERIFY(openAfterWarning);
    QVERIFY(macroNames().isEmpty());
    QVERIFY(!QDir(macroDir()).exists() || QDir(macroDir()).isEmpty());
}

void TestGunSet::drawsItsOwnBackground()
{
    QVERIFY(QDir().mkpath(skinPath(QString())));
    for (const auto &image : {std::make_pair("dlg.png", QColor(10, 200, 30)),
                              std::make_pair("dlg_gun.png", QColor(30, 60, 220))}) {
        QImage img(20, 20, QImage::Format_ARGB32);
        img.fill(image.second);
        QVERIFY(img.save(skinPath(QLatin1String(image.first))));
    }
    KivGunsetDialog d(10);
    // Between the title and the name field nothing but the background shows.
    QCOMPARE(d.grab().toImage().pixelColor(d.width() / 4, d.height() / 6), QColor(30, 60, 220));
}

QTEST_MAIN(TestGunSet)
#include "test_gunset.moc"
