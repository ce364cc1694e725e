// The LIGHTING tab in the window: an effect and a colour chosen there reach the emulated mouse's
// lighting and general blocks when the user clicks "Apply".
#include "lighting/colorareas.h"
#include "lighting/kivcolorarea.h"
#include "lighting/kivcolorwindow.h"
#include "widgets/kivslider.h"

#include "../app/windowfixture.h"

#include <QLineEdit>
#include <QMenu>
#include <QtTest>

using namespace mc;
using namespace mc::test;

class TestLightingApply : public QObject
{
    Q_OBJECT
private slots:
    void chosenColourReachesTheMouse()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        auto *panel = qobject_cast<KivColorWindow *>(w.lightingPanel());
        QVERIFY(panel);
        w.switchTab(0);
        QVERIFY(panel->isVisibleTo(&w));

        panel->modeAction(1)->trigger(); // FULL LIGHTED
        QTimer::singleShot(0, [] {
            auto *d = qobject_cast<KivColorArea *>(QApplication::activeModalWidget());
            QVERIFY(d);
            d->hexField()->setFocus();
            d->hexField()->selectAll();
            QTest::keyClicks(d->hexField(), QStringLiteral("12aB34"));
            QTest::mouseClick(d->okButton(), Qt::LeftButton);
        });
        QTest::mouseClick(panel->swatch(), Qt::LeftButton);
        panel->brightSlider()->setValue(2);

        BoxAnswerer boxes(acceptBox);
        QTest::mouseClick(w.applyButton(), Qt::LeftButton);
        QTRY_VERIFY(fx.mouse().commitCount() > 0);
        QCOMPARE(boxes.count(), 0);

        const QByteArray lighting = fx.mouse().blockMemory(0x04);
        QCOMPARE(lighting.size(), 80);
        // Effect slot 1 (static): on, red, green, blue, then its fixed bytes and the brightness.
        QCOMPARE(lighting.mid(8, 8).toHex(' '), QByteArray("80 12 ab 34 01 00 02 02"));
        const QByteArray general = fx.mouse().blockMemory(0x01);
        QCOMPARE(int(uint8_t(general.at(18))), 2); // the effect number of FULL LIGHTED
    }
};

QTEST_MAIN(TestLightingApply)
#include "test_lightingapply.moc"
