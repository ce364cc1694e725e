// The image button's state rules: which image shows on enter, press, release and leave for
// two and three images, checkable buttons, the disabled state and re-enabling, the signals,
// the badge texts, and that painting draws the image of the state.
#include "skinfixture.h"
#include "widgets/kivpushbutton.h"

#include <QSignalSpy>
#include <QtTest>

using namespace mc;

namespace {

void enter(QWidget *w)
{
    QEvent e(QEvent::Enter);
    QCoreApplication::sendEvent(w, &e);
}

void leave(QWidget *w)
{
    QEvent e(QEvent::Leave);
    QCoreApplication::sendEvent(w, &e);
}

QStringList images(test::SkinFixture &fx, int n)
{
    static const QColor colours[4] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    QStringList list;
    for (int i = 0; i < n; ++i)
        list << fx.image(QStringLiteral("s%1.png").arg(i), colours[i]);
    return list;
}

QColor centreColour(QWidget *w)
{
    return w->grab().toImage().pixelColor(w->width() / 2, 2);
}

} // namespace

class TestKivPushButton : public QObject
{
    Q_OBJECT
private slots:
    // Sequence letters: e enter, p press, r release, l leave; states after each step.
    void stateSequence_data()
    {
        QTest::addColumn<int>("imageCount");
        QTest::addColumn<bool>("checkable");
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("states");
        QTest::newRow("two images never show the pressed one") << 2 << false << "eprl"
                                                               << "1110";
        QTest::newRow("two images, pressed twice") << 2 << false << "eprprl"
                                                   << "111110";
        QTest::newRow("one image stays normal") << 1 << false << "eprl"
                                                << "0000";
        QTest::newRow("three images press shows pressed") << 3 << false << "eprl"
                                                          << "1210";
        QTest::newRow("three images checkable stays checked") << 3 << true << "eprl"
                                                              << "1211";
        QTest::newRow("checkable second press unchecks") << 3 << true << "eprprl"
                                                         << "121010";
    }
    void stateSequence()
    {
        QFETCH(int, imageCount);
        QFETCH(bool, checkable);
        QFETCH(QString, steps);
        QFETCH(QString, states);
        test::SkinFixture fx;
        KivPushButton b(images(fx, imageCount));
        b.resize(40, 20);
        b.setCheckable(checkable);
        QString seen;
        for (const QChar step : steps) {
            switch (step.toLatin1()) {
            case 'e':
                enter(&b);
                break;
            case 'p':
                QTest::mousePress(&b, Qt::LeftButton);
                break;
            case 'r':
                QTest::mouseRelease(&b, Qt::LeftButton);
                break;
            case 'l':
                leave(&b);
                break;
            }
            seen += QString::number(b.state());
        }
        QCOMPARE(seen, states);
    }

    void disabledCheckableReenablesChecked()
    {
        test::SkinFixture fx;
        KivPushButton b(images(fx, 4));
        b.setCheckable(true);
        b.setState(1);
        QVERIFY(b.isChecked());
        b.setEnabled(false);
        QCOMPARE(b.state(), 3);
        b.setEnabled(true);
        QCOMPARE(b.state(), 1);
    }

    void reenabledUncheckedIsNormal()
    {
        test::SkinFixture fx;
        KivPushButton b(images(fx, 4));
        b.setEnabled(false);
        b.setEnabled(true);
        QCOMPARE(b.state(), 0);
    }

    void disabledIgnoresMouse()
    {
        test::SkinFixture fx;
        KivPushButton b(images(fx, 3));
        b.resize(40, 20);
        QSignalSpy pressed(&b, &KivPushButton::EnterSignal);
        QSignalSpy clicked(&b, &QPushButton::clicked);
        b.setEnabled(false);
        enter(&b);
        QCOMPARE(b.state(), 3);
        QTest::mouseClick(&b, Qt::LeftButton);
        QCOMPARE(pressed.count(), 0);
        QCOMPARE(clicked.count(), 0);
        QCOMPARE(b.state(), 3);
    }

    void signalsOnEnterPressLeave()
    {
        test::SkinFixture fx;
        KivPushButton b(images(fx, 3));
        b.resize(40, 20);
        QSignalSpy over(&b, &KivPushButton::OverSignal);
        QSignalSpy pressed(&b, &KivPushButton::EnterSignal);
        QSignalSpy clicked(&b, &QPushButton::clicked);
        enter(&b);
        leave(&b);
        QCOMPARE(over.count(), 2);
        QCOMPARE(over.at(0).at(1).toBool(), true);
        QCOMPARE(over.at(1).at(1).toBool(), false);
        enter(&b);
        QTest::mouseClick(&b, Qt::LeftButton);
        QCOMPARE(pressed.count(), 1);
        QCOMPARE(pressed.at(0).at(0).value<KivPushButton *>(), &b);
        QCOMPARE(clicked.count(), 1);
        leave(&b); // the leave after a press is not reported
        QCOMPARE(over.count(), 3);
        QTest::mouseClick(&b, Qt::RightButton);
        QCOMPARE(pressed.count(), 1);
    }

    void setStateSetsChecked()
    {
        test::SkinFixture fx;
        KivPushButton b(images(fx, 3));
        b.setState(1);
        QVERIFY(b.isChecked());
        b.setState(0);
        QVERIFY(!b.isChecked());
        b.setState(1);
        b.setCheckable(true);
        QCOMPARE(b.state(), 0);
        b.setState(9); // never beyond the disabled image
        QCOMPARE(b.state(), 3);
    }

    void textSetsToolTip()
    {
        test::SkinFixture fx;
        KivPushButton b(images(fx, 1));
        b.setText(QStringLiteral("Apply"));
        QCOMPARE(b.text(), QStringLiteral("Apply"));
        QCOMPARE(b.toolTip(), QStringLiteral("Apply"));
    }

    void badgeTexts_data()
    {
        QTest::addColumn<int>("badge");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << 0 << QString();
        QTest::newRow("up arrow") << 253 << QStringLiteral("  ") + QChar(0x2191);
        QTest::newRow("down arrow") << 254 << QStringLiteral("  ") + QChar(0x2193);
        QTest::newRow("7") << 7 << QStringLiteral("  7");
        QTest::newRow("20") << 20 << QStringLiteral("  20");
        QTest::newRow("255") << 255 << QStringLiteral("  255");
    }
    void badgeTexts()
    {
        QFETCH(int, badge);
        QFETCH(QString, text);
        QCOMPARE(badgeText(uint8_t(badge)), text);
    }

    void sizeHintFromImages()
    {
        test::SkinFixture fx;
        QImage big(30, 12, QImage::Format_ARGB32);
        big.fill(Qt::white);
        big.save(skinPath(QStringLiteral("single.png")));
        KivPushButton plain(images(fx, 2));
        QCOMPARE(plain.sizeHint(), QSize(20, 20));
        KivPushButton single(images(fx, 2), nullptr, skinPath(QStringLiteral("single.png")));
        QCOMPARE(single.sizeHint(), QSize(30, 12));
    }

    void paintsImageOfState_data()
    {
        QTest::addColumn<int>("imageCount");
        QTest::addColumn<int>("state");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("normal") << 4 << 0 << QColor(Qt::red);
        QTest::newRow("hover") << 4 << 1 << QColor(Qt::green);
        QTest::newRow("pressed") << 4 << 2 << QColor(Qt::blue);
        QTest::newRow("disabled") << 4 << 3 << QColor(Qt::yellow);
        QTest::newRow("disabled without its image") << 3 << 3 << QColor(Qt::red);
    }
    void paintsImageOfState()
    {
        QFETCH(int, imageCount);
        QFETCH(int, state);
        QFETCH(QColor, colour);
        test::SkinFixture fx;
        KivPushButton b(images(fx, imageCount));
        b.resize(40, 20);
        b.setState(state);
        QCOMPARE(centreColour(&b), colour);
    }

    void themeHighlightTintsHover()
    {
        test::SkinFixture fx;
        fx.setConfig(QStringLiteral("Config/GColorID"), 2); // blue
        QImage white(20, 20, QImage::Format_ARGB32);
        white.fill(Qt::white);
        white.save(skinPath(QStringLiteral("w.png")));
        const QString w = skinPath(QStringLiteral("w.png"));
        KivPushButton b({w, w, w});
        b.resize(200, 100);
        b.setThemeHighlight(true);
        b.setState(1);
        const QColor tinted = b.grab().toImage().pixelColor(150, 80);
        QVERIFY(tinted.red() < 200);
        QVERIFY(tinted.blue() > tinted.red());
        b.setState(0);
        QCOMPARE(b.grab().toImage().pixelColor(150, 80), QColor(Qt::white));
    }

    void textColours_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("state");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("mode 1 normal") << 1 << 0 << QColor(Qt::white);
        QTest::newRow("mode 1 hover") << 1 << 1 << QColor(Qt::black);
        QTest::newRow("mode 1 disabled") << 1 << 3 << QColor(100, 100, 100);
        QTest::newRow("mode 0 normal") << 0 << 0 << QColor(200, 200, 200);
        QTest::newRow("mode 0 hover") << 0 << 1 << QColor(225, 225, 225);
        QTest::newRow("mode 0 pressed") << 0 << 2 << QColor(Qt::white);
        QTest::newRow("state out of range") << 0 << 42 << QColor(100, 100, 100);
    }
    void textColours()
    {
        QFETCH(int, mode);
        QFETCH(int, state);
        QFETCH(QColor, colour);
        QCOMPARE(KivPushButton::textColour(state, mode), colour);
    }
};

QTEST_MAIN(TestKivPushButton)
#include "test_kivpushbutton.moc"
