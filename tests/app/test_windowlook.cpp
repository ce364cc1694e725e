// The window as drawn: on every tab each control shown sits on one of the background's cards,
// clear of its edge, and the rounded shape shows nothing light through its edge at any size.
#include "app/mousecfgwidget.h"
#include "app/windowcards.h"
#include "windowfixture.h"

#include <QFile>
#include <QScreen>
#include <QtTest>

using namespace mc;
using mc::test::WindowFixture;

namespace {

QRect rectOf(const cards::Box &b, int inset)
{
    return QRect(b.x, b.y, b.w, b.h).adjusted(inset, inset, -inset, -inset);
}

// The card that holds r, or an empty rectangle. Panels keep the card margin; the bottom bar's
// icons, placed close to its edges, only stay off the border line.
QRect cardHolding(const QRect &r)
{
    const QRect shape = rectOf(cards::kShape, cards::kCardMargin);
    const QRect header(shape.x(), shape.y(), shape.width(), cards::kHeaderBottom - shape.y());
    for (const QRect &card :
         {header, rectOf(cards::kSideColumn, cards::kCardMargin),
          rectOf(cards::kContent, cards::kCardMargin), rectOf(cards::kBottomBar, 1)}) {
        if (card.contains(r))
            return card;
    }
    return QRect();
}

} // namespace

class TestWindowLook : public QObject
{
    Q_OBJECT
private slots:
    void everyControlSitsOnACard()
    {
        WindowFixture fx(true);
        MousecfgWidget w;
        for (int tab = 0; tab < 4; ++tab) {
            w.switchTab(tab);
            for (QWidget *child :
                 w.findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
                if (child->isWindow() || !child->isVisibleTo(&w) || child->geometry().isEmpty())
                    continue;
                QVERIFY2(!cardHolding(child->geometry()).isEmpty(),
                         qPrintable(QStringLiteral("tab %1: %2 at %3,%4 %5x%6")
                                        .arg(tab)
                                        .arg(QLatin1String(child->metaObject()->className()))
                                        .arg(child->x())
                                        .arg(child->y())
                                        .arg(child->width())
                                        .arg(child->height())));
            }
        }
    }

    // Whatever shows through the antialiased edge of the shape is the window's own background:
    // it must be dark like the skin, at the design size and scaled.
    void cornersShowNothingLight_data()
    {
        QTest::addColumn<double>("factor");
        QTest::newRow("design size") << 1.0;
        QTest::newRow("scaled 1.5") << 1.5;
    }
    void cornersShowNothingLight()
    {
        QFETCH(double, factor);
        WindowFixture fx(true);
        QVERIFY(QFile::copy(QStringLiteral(MC_BIN_DIR "/skin/cfgMainback.png"),
                            fx.path() + QStringLiteral("/skin/cfgMainback.png")));
        MousecfgWidget w;
        w.resize(int(999 * factor), int(640 * factor));
        const QImage shot = w.grab().toImage();
        const int side = int(cards::kShapeRadius * factor);
        const QRect shape(int(cards::kShape.x * factor), 0,
                          shot.width() - int(cards::kShape.x * factor), shot.height());
        for (const QPoint &corner : {shape.topLeft(), QPoint(shape.right() - side + 1, 0),
                                     QPoint(shape.x(), shape.bottom() - side + 1),
                                     QPoint(shape.right() - side + 1, shape.bottom() - side + 1)}) {
            for (int y = corner.y(); y < corner.y() + side; ++y) {
                for (int x = corner.x(); x < corner.x() + side; ++x) {
                    const QColor c = shot.pixelColor(x, y);
                    QVERIFY2(qMax(c.red(), qMax(c.green(), c.blue())) < 100,
                             qPrintable(QStringLiteral("%1 at %2,%3").arg(c.name()).arg(x).arg(y)));
                }
            }
        }
    }

    // The battery's frame tells the cable from the receiver. A status answer repaints only that
    // frame, and only when it changes: what is on the screen must still be what a whole repaint
    // draws, with the cable plugged in and after it is pulled out.
    void batteryFrameFollowsTheCable()
    {
        WindowFixture fx(true);
        for (const QString &name : {QStringLiteral("bat1.png"), QStringLiteral("bat2.png"),
                                    QStringLiteral("cfgMainback.png")})
            QVERIFY(QFile::copy(QStringLiteral(MC_BIN_DIR "/skin/") + name,
                                fx.path() + QStringLiteral("/skin/") + name));
        // No write when the cable comes, and so no box that says how it went.
        fx.configure(QStringLiteral("Config/ReapplyOnConnect"), 0);
        MousecfgWidget w;
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        const QRect frame(69, 581, 86, 47); // design units, at the scale of 1
        const auto onScreen = [&] {
            return w.screen()->grabWindow(w.winId()).toImage().copy(frame).convertToFormat(
                QImage::Format_RGB32);
        };
        const auto drawn = [&] {
            return w.grab(frame).toImage().convertToFormat(QImage::Format_RGB32);
        };
        QTRY_COMPARE(onScreen(), drawn());
        const QImage receiver = onScreen();
        fx.mouse().plug(EmulatedMouse::Attachment::Cable);
        QTRY_VERIFY(onScreen() != receiver);
        QCOMPARE(onScreen(), drawn());
        const QImage cable = onScreen();
        fx.mouse().unplug(EmulatedMouse::Attachment::Cable);
        QTRY_VERIFY(onScreen() != cable);
        QCOMPARE(onScreen(), drawn());
    }
};

QTEST_MAIN(TestWindowLook)
#include "test_windowlook.moc"
