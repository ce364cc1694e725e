// The profile per application in Config.ini: what is written reads back in order and leaves
// the file's other settings alone; hostile values (slots outside 1..5, empty, over-long or
// repeated names, a list far longer than the rules kept) are left out without crashing or
// costing; a settings file that cannot be read is not written over and the save says so;
// rule names match executables and window classes as the user writes them.
#include "profile/focusrules.h"
#include "profile/inifile.h"
#include "profile/paths.h"
#include "profile/settings.h"
#include "profiletestutil.h"

#include <QtTest>

using namespace mc;
using namespace mctest;

class TestFocusRules : public QObject
{
    Q_OBJECT

private slots:
    void writtenRulesReadBackBesideOtherSettings()
    {
        DataDir dir;
        writeWithQSettings(appSettingsFile(), {{"Config/ProfileID", 3},
                                               {"FocusRules/Count", 9},
                                               {"FocusRules/App_8", "stale"},
                                               {"FocusRules/Slot_8", 2}});
        FocusRules rules;
        rules.enabled = true;
        rules.defaultSlot = 4;
        rules.rules = {{"shooter", 1}, {"Racer.exe", 0}, {"XTerm", 4}};
        QVERIFY(writeFocusRules(rules));
        QCOMPARE(readFocusRules(), rules);
        QCOMPARE(readActiveSlot(), 3);
        // Slots are written as the user counts them, and a longer old list leaves nothing.
        IniFile ini;
        QVERIFY(ini.load(appSettingsFile()));
        QCOMPARE(ini.intValue("FocusRules/Slot_0"), 2);
        QCOMPARE(ini.intValue("FocusRules/DefaultSlot"), 5);
        QVERIFY(!ini.contains("FocusRules/App_8"));
    }

    void missingRulesReadSwitchedOff()
    {
        DataDir dir;
        const FocusRules rules = readFocusRules();
        QVERIFY(!rules.enabled);
        QCOMPARE(rules.defaultSlot, 0);
        QVERIFY(rules.rules.isEmpty());
    }

    void hostileValuesAreLeftOut()
    {
        DataDir dir;
        Values v = {{"FocusRules/Enabled", "yes please"},
                    {"FocusRules/DefaultSlot", 9},
                    {"FocusRules/Count", 2000000000},
                    {"FocusRules/App_0", "nine"},
                    {"FocusRules/Slot_0", 9},
                    {"FocusRules/App_1", "   "},
                    {"FocusRules/Slot_1", 1},
                    {"FocusRules/App_2", QString(kMaxFocusApplicationLength + 1, 'a')},
                    {"FocusRules/Slot_2", 1},
                    {"FocusRules/App_3", "  game  "},
                    {"FocusRules/Slot_3", 3},
                    {"FocusRules/App_4", "GAME"},
                    {"FocusRules/Slot_4", 4},
                    {"FocusRules/App_5", "zero"},
                    {"FocusRules/Slot_5", 0}};
        // More usable rules than are kept.
        for (int n = 6; n < 6 + 2 * kMaxFocusRules; ++n)
            v.append({QStringLiteral("FocusRules/App_%1").arg(n), QStringLiteral("app%1").arg(n)});
        for (int n = 6; n < 6 + 2 * kMaxFocusRules; ++n)
            v.append({QStringLiteral("FocusRules/Slot_%1").arg(n), 5});
        writeWithQSettings(appSettingsFile(), v);
        const FocusRules rules = readFocusRules();
        QVERIFY(!rules.enabled);
        QCOMPARE(rules.defaultSlot, 0);
        QCOMPARE(rules.rules.size(), kMaxFocusRules);
        QCOMPARE(rules.rules.first(), (FocusRule{"game", 2}));
        QCOMPARE(rules.rules.at(1), (FocusRule{"app6", 4}));
        QCOMPARE(rules.rules.last().application, QStringLiteral("app68"));
    }

    void unreadableFileIsNotWrittenOver()
    {
        DataDir dir;
        QByteArray big("[Config]\nProfileID=3\n");
        const QByteArray filler = QByteArray(1000, 'x').prepend(';').append('\n');
        while (big.size() <= IniFile::kMaxFileSize)
            big += filler;
        writeBytes(appSettingsFile(), big);
        FocusRules rules;
        rules.rules = {{"game", 1}};
        QVERIFY(!writeFocusRules(rules));
        QFile f(appSettingsFile());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.size(), qint64(big.size()));
    }

    void namesMatchAsTheUserWritesThem_data()
    {
        QTest::addColumn<QString>("rule");
        QTest::addColumn<QString>("application");
        QTest::addColumn<bool>("matches");
        QTest::newRow("case") << "xterm"
                              << "XTerm" << true;
        QTest::newRow("exe left out") << "Game"
                                      << "game.exe" << true;
        QTest::newRow("exe written") << "game.EXE"
                                     << "Game" << true;
        QTest::newRow("prefix only") << "game"
                                     << "gamer" << false;
        QTest::newRow("nothing known") << "game"
                                       << "" << false;
    }
    void namesMatchAsTheUserWritesThem()
    {
        QFETCH(QString, rule);
        QFETCH(QString, application);
        QTEST(focusNameMatches(rule, application), "matches");
    }
};

QTEST_GUILESS_MAIN(TestFocusRules)
#include "test_focusrules.moc"
