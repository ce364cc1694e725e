// The smaller widgets: label font and press signal, slider release, line edit focus loss,
// battery bar text, menu row, and the busy indicator with its embedded animation.
#include "skinfixture.h"
#include "widgets/kivlabel.h"
#include "widgets/kivlineedit.h"
#include "widgets/kivprocessbar.h"
#include "widgets/kivprocessdialog.h"
#include "widgets/kivprofilemenuitem.h"
#include "widgets/kivslider.h"

#include <QMovie>
#include <QSignalSpy>
#include <QtTest>

using namespace mc;

class TestSmallWidgets : public QObject
{
    Q_OBJECT
private slots:
    void labelFontSize_data()
    {
        QTest::addColumn<int>("configured");
        QTest::addColumn<int>("fixed");
        QTest::addColumn<int>("decrement");
        QTest::addColumn<double>("factor");
        QTest::addColumn<int>("pixels");
        QTest::newRow("configured") << 12 << 0 << 0 << 1.0 << 12;
        QTest::newRow("configured scaled") << 12 << 0 << 0 << 1.5 << 18;
        QTest::newRow("fixed replaces") << 12 << 20 << 0 << 1.0 << 20;
        QTest::newRow("fixed minus decrement, scaled") << 12 << 20 << 2 << 1.5 << 27;
        QTest::newRow("decrement of configured") << 14 << 0 << 4 << 1.25 << 12;
    }
    void labelFontSize()
    {
        QFETCH(int, configured);
        QFETCH(int, fixed);
        QFETCH(int, decrement);
        QFETCH(double, factor);
        QFETCH(int, pixels);
        test::SkinFixture fx;
        fx.setConfig(QStringLiteral("FONT_LIST/FONT_SIZE_0"), configured);
        setScaleFactor(factor);
        KivLabel label;
        label.setFixedPixelSize(fixed);
        label.setSizeDecrement(decrement);
        const int got = label.textFont().pixelSize();
        setScaleFactor(1.0);
        QCOMPARE(got, pixels);
    }

    void labelPressAndNumber()
    {
        test::SkinFixture fx;
        KivLabel label;
        label.resize(50, 20);
        QSignalSpy spy(&label, &KivLabel::EnterSignal);
        QTest::mousePress(&label, Qt::RightButton);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<KivLabel *>(), &label);
        label.setNumber(-42);
        QCOMPARE(label.text(), QStringLiteral("-42"));
        QCOMPARE(label.alignment(), Qt::AlignLeft | Qt::AlignVCenter);
    }

    void labelDarkBackground()
    {
        test::SkinFixture fx;
        KivLabel label;
        label.resize(40, 20);
        label.setDarkBackground(true);
        QCOMPARE(label.grab().toImage().pixelColor(1, 1), QColor(30, 30, 30));
    }

    void sliderReportsRelease()
    {
        KivSlider slider(Qt::Horizontal);
        slider.resize(100, 20);
        QSignalSpy spy(&slider, &KivSlider::MouseChange);
        QTest::mousePress(&slider, Qt::LeftButton);
        QCOMPARE(spy.count(), 0);
        QTest::mouseRelease(&slider, Qt::LeftButton);
        QCOMPARE(spy.count(), 1);
    }

    void lineEditReportsFocusLoss()
    {
        KivLineEdit edit;
        QSignalSpy spy(&edit, &KivLineEdit::kivLostFocus);
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(&edit, &out);
        QCOMPARE(spy.count(), 1);
    }

    void processbarDrawsOwnText()
    {
        test::SkinFixture fx;
        KivProcessbar bar;
        bar.resize(71, 34);
        bar.setTextVisible(false);
        bar.setStyleSheet(QStringLiteral("QProgressBar{background-color:rgb(100,100,100);"
                                         "border:none}"));
        const QImage before = bar.grab().toImage();
        bar.setOwnText(QStringLiteral("MOUSE OFF"));
        const QImage after = bar.grab().toImage();
        QVERIFY(before != after);
        QCOMPARE(bar.ownText(), QStringLiteral("MOUSE OFF"));
    }

    void menuRowToggles()
    {
        test::SkinFixture fx;
        KivProfileMenuItem row(QStringLiteral("Macro 1"));
        QSignalSpy spy(&row, &KivProfileMenuItem::CheckBtnSignal);
        QTest::mousePress(&row, Qt::LeftButton);
        QVERIFY(row.isChecked());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).value<QWidget *>(), &row);
        QTest::mousePress(&row, Qt::LeftButton);
        QVERIFY(!row.isChecked());
        QCOMPARE(row.text(), QStringLiteral("Macro 1"));
    }

    // A click on the row's text reaches the row as a click on its box does.
    void menuRowTogglesFromItsText_data()
    {
        QTest::addColumn<int>("x");
        QTest::newRow("check box") << 5;
        QTest::newRow("text") << 90;
    }
    void menuRowTogglesFromItsText()
    {
        QFETCH(int, x);
        test::SkinFixture fx;
        KivProfileMenuItem row(QStringLiteral("Macro 1"));
        row.show();
        QVERIFY(QTest::qWaitForWindowExposed(&row));
        QSignalSpy spy(&row, &KivProfileMenuItem::CheckBtnSignal);
        QTest::mouseClick(row.windowHandle(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(x, row.height() / 2));
        QVERIFY(row.isChecked());
        QCOMPARE(spy.count(), 1);
    }

    void busyIndicatorPlaysAndCloses()
    {
        test::SkinFixture fx;
        KivProcessDialog dlg;
        QCOMPARE(dlg.size(), QSize(128, 128));
        QVERIFY(dlg.movie()->isValid());
        QVERIFY(dlg.movie()->frameCount() > 1);
        dlg.open();
        dlg.slotProcessDlg();
        QVERIFY(dlg.isVisible()); // closes from the event loop, not inside the signal
        QTRY_VERIFY_WITH_TIMEOUT(!dlg.isVisible(), 5000);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
    }
};

QTEST_MAIN(TestSmallWidgets)
#include "test_smallwidgets.moc"
