// The English translation: the rendering rule, that en.ts follows it for every message, that
// the filler rewrites a lupdate file correctly, and that the compiled en.qm shows the renames.
#include "englishrule.h"

#include <QFile>
#include <QRegularExpression>
#include <QTranslator>
#include <QtTest>

using namespace mc;

class TestEnglishRule : public QObject
{
    Q_OBJECT
private slots:
    void rendering_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("english");
        QTest::newRow("capitals") << "QObject"
                                  << "Are you sure you want delete this profile?"
                                  << "ARE YOU SURE YOU WANT DELETE THIS PROFILE?";
        QTest::newRow("static") << "QObject"
                                << "FULL LIGHTED"
                                << "STATIC";
        QTest::newRow("mode switch") << "QObject"
                                     << "Profile Switch"
                                     << "MODE SWITCH";
        QTest::newRow("led switch") << "QObject"
                                    << "Led Switch"
                                    << "LEDMODE SWITCH";
        QTest::newRow("load") << "QObject"
                              << "LOAD1"
                              << "LOAD";
        QTest::newRow("minute") << "QObject"
                                << " MINUTE"
                                << " MINUTE";
        QTest::newRow("delay caption") << "QObject"
                                       << "Delay:"
                                       << "DELAY(ms):";
        QTest::newRow("sleeping") << "QObject"
                                  << "Mouse is sleeping or not connected."
                                  << "Mouse is sleeping or not connected,send data failed.";
        QTest::newRow("unit kept") << "QObject"
                                   << "1 mm"
                                   << "1 mm";
        QTest::newRow("boss key kept") << "QObject"
                                       << "Boss Key"
                                       << "Boss Key";
        QTest::newRow("dongle kept") << "QObject"
                                     << "Dongle Disconnect!"
                                     << "Dongle Disconnect!";
        QTest::newRow("one capital") << "QObject"
                                     << "MOVEMENT"
                                     << "Movement";
        QTest::newRow("delay ms") << "QObject"
                                  << "DELAY(ms)"
                                  << "Delay(ms)";
        QTest::newRow("dialog ok") << "mc::KivMessageBox"
                                   << "Ok"
                                   << "OK";
        QTest::newRow("dialog no") << "KivMessageBox"
                                   << "No"
                                   << "NO";
        QTest::newRow("main window kept") << "mc::MousecfgWidget"
                                          << "&Quit"
                                          << "&Quit";
        QTest::newRow("macro editor kept") << "MacroDialog"
                                           << "Warning"
                                           << "Warning";
        QTest::newRow("macro editor keeps a renamed text") << "MacroDialog"
                                                           << "LOOPS TIME(1-255)"
                                                           << "LOOPS TIME(1-255)";
        QTest::newRow("main window keeps a renamed text") << "mc::MousecfgWidget"
                                                          << "LOAD1"
                                                          << "LOAD1";
        QTest::newRow("select dialog renames it") << "QObject"
                                                  << "LOOPS TIME(1-255)"
                                                  << "LOOPS TIME";
        QTest::newRow("namespaced QObject is not QObject") << "mc::QObject"
                                                           << "Side"
                                                           << "SIDE";
        QTest::newRow("misspelling mended") << "QObject"
                                            << "REPEAT RUN UNTILL THE KEY DOWN"
                                            << "REPEAT UNTIL THE KEY IS PRESSED AGAIN";
        QTest::newRow("success reads as one") << "QObject"
                                              << "The diagnostics were recorded in %1"
                                              << "DONE: THE DIAGNOSTICS ARE SAVED IN %1";
        QTest::newRow("other dialog kept") << "KivGunsetDialog"
                                           << "Gun Set"
                                           << "Gun Set";
    }
    void rendering()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, english);
        QCOMPARE(englishRendering(context, source), english);
    }

    void fillerRewritesLupdateOutput()
    {
        const QString in = QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<TS version=\"2.1\" language=\"en\">\n"
            "<context>\n    <name>QObject</name>\n    <message>\n"
            "        <source>FULL LIGHTED</source>\n"
            "        <translation type=\"unfinished\"></translation>\n    </message>\n"
            "    <message>\n        <source>Cut &amp; paste &lt;1&gt;</source>\n"
            "        <translation>old</translation>\n    </message>\n</context>\n"
            "<context>\n    <name>mc::MousecfgWidget</name>\n    <message>\n"
            "        <source>&amp;Quit</source>\n        <translation/>\n    </message>\n"
            "</context>\n</TS>\n");
        const QString out = fillEnglishTranslations(in);
        QVERIFY(out.contains(QLatin1String("<translation>STATIC</translation>")));
        QVERIFY(
            out.contains(QLatin1String("<translation>CUT &amp; PASTE &lt;1&gt;</translation>")));
        QVERIFY(out.contains(QLatin1String("<translation>&amp;Quit</translation>")));
        QVERIFY(!out.contains(QLatin1String("unfinished")));
        QVERIFY(!out.contains(QLatin1String(">old<")));
        QCOMPARE(fillEnglishTranslations(out), out); // a second run changes nothing
    }

    // Every message of the committed file is finished and rendered by the rule, so a text
    // added without running the update (or edited by hand) is caught.
    void committedFileFollowsRule()
    {
        QFile f(QStringLiteral(MC_SOURCE_DIR "/assets/lang/en.ts"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QString ts = QString::fromUtf8(f.readAll());
        QVERIFY(!ts.contains(QLatin1String("type=\"unfinished\"")));
        // Contexts are the plain class names a product's translation uses, never the
        // program's namespaced ones.
        QVERIFY(!ts.contains(QRegularExpression(QStringLiteral("<name>[^<]*::"))));
        QCOMPARE(fillEnglishTranslations(ts), ts);
        for (const char *text :
             {"FULL LIGHTED", "LIGHTING", "Dongle Disconnect!", "&amp;Quit", "Reset All", "LOAD1"})
            QVERIFY2(ts.contains(QStringLiteral("<source>%1</source>").arg(QLatin1String(text))),
                     text);
    }

    void compiledTranslation_data()
    {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("shown");
        QTest::newRow("static") << "QObject"
                                << "FULL LIGHTED"
                                << "STATIC";
        QTest::newRow("load") << "QObject"
                              << "LOAD1"
                              << "LOAD";
        QTest::newRow("tab") << "QObject"
                             << "CUSTOMIZE"
                             << "CUSTOMIZE";
        QTest::newRow("apply") << "QObject"
                               << "Apply"
                               << "APPLY";
        QTest::newRow("yes") << "KivMessageBox"
                             << "Yes"
                             << "YES";
        QTest::newRow("ok") << "KivMessageBox"
                            << "Ok"
                            << "OK";
        QTest::newRow("tray") << "MousecfgWidget"
                              << "&Quit"
                              << "&Quit";
    }
    void compiledTranslation()
    {
        QFETCH(QString, context);
        QFETCH(QString, source);
        QFETCH(QString, shown);
        QTranslator t;
        QVERIFY(t.load(QStringLiteral(MC_BIN_DIR "/lang/en.qm")));
        QCOMPARE(t.translate(context.toUtf8().constData(), source.toUtf8().constData()), shown);
    }
};

QTEST_APPLESS_MAIN(TestEnglishRule)
#include "test_englishrule.moc"
