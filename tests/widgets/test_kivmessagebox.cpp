// The message box: buttons per kind, accept and reject, an unknown kind, the scaled size and
// the auto-close poll of the receiver notice.
#include "skinfixture.h"
#include "widgets/kivlabel.h"
#include "widgets/kivmessagebox.h"
#include "widgets/kivpushbutton.h"

#include <QTimer>
#include <QtTest>

using namespace mc;

class TestKivMessageBox : public QObject
{
    Q_OBJECT
private slots:
    void buttonsPerKind_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("shownKind");
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("hasNo");
        QTest::newRow("question") << 1 << 1 << "Yes" << true;
        QTest::newRow("notice") << 2 << 2 << "Ok" << false;
        QTest::newRow("notice 3") << 3 << 3 << "Ok" << false;
        QTest::newRow("receiver") << 4 << 4 << "Ok" << false;
        QTest::newRow("kind 0 is a notice") << 0 << 2 << "Ok" << false;
        QTest::newRow("kind 200 is a notice") << 200 << 2 << "Ok" << false;
    }
    void buttonsPerKind()
    {
        QFETCH(int, kind);
        QFETCH(int, shownKind);
        QFETCH(QString, first);
        QFETCH(bool, hasNo);
        test::SkinFixture fx;
        KivMessageBox box(kind, QString(), QStringLiteral("Warning"), QStringLiteral("Text"));
        QCOMPARE(box.kind(), shownKind);
        QCOMPARE(box.yesButton()->text(), first);
        QCOMPARE(box.noButton() != nullptr, hasNo);
        if (hasNo)
            QCOMPARE(box.noButton()->text(), QStringLiteral("No"));
        auto *title = box.findChild<KivLabel *>(QStringLiteral("msgBoxInfoLabel1"));
        auto *message = box.findChild<KivLabel *>(QStringLiteral("msgBoxInfoLabel2"));
        QVERIFY(title && message);
        QCOMPARE(title->text(), QStringLiteral("Warning"));
        QCOMPARE(message->text(), QStringLiteral("Text"));
    }

    void yesAcceptsNoRejects_data()
    {
        QTest::addColumn<bool>("pressYes");
        QTest::addColumn<int>("result");
        QTest::newRow("yes") << true << int(QDialog::Accepted);
        QTest::newRow("no") << false << int(QDialog::Rejected);
    }
    void yesAcceptsNoRejects()
    {
        QFETCH(bool, pressYes);
        QFETCH(int, result);
        test::SkinFixture fx;
        KivMessageBox box(1, QString(), QStringLiteral("Warning"), QStringLiteral("Sure?"));
        QTimer::singleShot(0, &box, [&] {
            QTest::mouseClick(pressYes ? box.yesButton() : box.noButton(), Qt::LeftButton);
        });
        QCOMPARE(box.exec(), result);
    }

    // The keyboard answers every box: Enter the first button, Esc closes without a choice.
    void keyboardAnswers_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("choice");
        QTest::newRow("enter") << int(Qt::Key_Return) << 0;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << 0;
        QTest::newRow("escape") << int(Qt::Key_Escape) << -1;
    }
    void keyboardAnswers()
    {
        QFETCH(int, key);
        QFETCH(int, choice);
        test::SkinFixture fx;
        KivMessageBox box(1, QString(), QStringLiteral("Warning"), QStringLiteral("Sure?"));
        QTimer::singleShot(0, &box, [&] { QTest::keyClick(&box, Qt::Key(key)); });
        QCOMPARE(box.exec(), choice == 0 ? int(QDialog::Accepted) : int(QDialog::Rejected));

        int chosen = -2;
        QTimer::singleShot(0, this, [&] {
            auto *open = qobject_cast<KivMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(open);
            QTest::keyClick(open, Qt::Key(key));
        });
        chosen =
            KivMessageBox::choose(QStringLiteral("Warning"), QStringLiteral("x"),
                                  {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
        QCOMPARE(chosen, choice);
    }

    void choiceButtonsAnswerTheirIndex()
    {
        test::SkinFixture fx;
        for (int n = 0; n < 3; ++n) {
            QTimer::singleShot(0, this, [n] {
                auto *open = qobject_cast<KivMessageBox *>(QApplication::activeModalWidget());
                QVERIFY(open);
                QList<KivPushButton *> buttons = open->findChildren<KivPushButton *>();
                std::sort(buttons.begin(), buttons.end(),
                          [](QWidget *a, QWidget *b) { return a->x() < b->x(); });
                QCOMPARE(buttons.size(), 3);
                QTest::mouseClick(buttons.at(n), Qt::LeftButton);
            });
            QCOMPARE(KivMessageBox::choose(
                         QStringLiteral("Warning"), QStringLiteral("x"),
                         {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")}),
                     n);
        }
    }

    void scaledFixedSize()
    {
        test::SkinFixture fx;
        setScaleFactor(1.5);
        KivMessageBox box(2, QString(), QStringLiteral("Warning"), QStringLiteral("x"));
        setScaleFactor(1.0);
        QCOMPARE(box.size(), QSize(717, 463));
        QCOMPARE(box.yesButton()->size(), QSize(150, 45));
        QVERIFY(box.testAttribute(Qt::WA_TranslucentBackground));
        QVERIFY(box.windowFlags() & Qt::FramelessWindowHint);
    }

    void autoCloseWaitsForMouse()
    {
        test::SkinFixture fx;
        bool present = false;
        KivMessageBox::setPlugInProbe([&present] { return present; });
        KivMessageBox box(4, QString(), QStringLiteral("Warning"),
                          QStringLiteral("Dongle Disconnect!"), nullptr, true);
        QVERIFY(box.autoClose());
        box.open();
        box.GetPlugInSignal();
        QVERIFY(box.isVisible());
        present = true;
        // The box's own 100 ms poll notices the mouse.
        QTRY_VERIFY_WITH_TIMEOUT(!box.isVisible(), 5000);
        QCOMPARE(box.result(), int(QDialog::Accepted));
        KivMessageBox::setPlugInProbe(nullptr);
    }

    void withoutProbeNeverClosesItself()
    {
        test::SkinFixture fx;
        KivMessageBox::setPlugInProbe(nullptr);
        KivMessageBox box(4, QString(), QStringLiteral("Warning"), QStringLiteral("x"), nullptr,
                          true);
        box.open();
        box.GetPlugInSignal();
        QVERIFY(box.isVisible());
        KivMessageBox plain(2, QString(), QStringLiteral("Warning"), QStringLiteral("x"));
        QVERIFY(!plain.autoClose());
    }
};

QTEST_MAIN(TestKivMessageBox)
#include "test_kivmessagebox.moc"
