// The INI reader and writer must agree with QSettings in both directions: files QSettings wrote
// read the same through IniFile, files IniFile wrote read the same through QSettings, and odd or
// hostile bytes are understood the same way (or refused safely).
//
// The rules are Qt 5's QSettings INI format: every file the program has stored follows them.
// Qt 6's own INI format departs from them outside ASCII (it writes and reads raw UTF-8, and skips
// a byte order mark before a first key), so under Qt 6 the program's QSettings use our format
// (iniSettingsFormat) and this test compares with that; the Qt 5 build compares both with Qt's
// own, and test_crossqt pins the bytes with files kept in the tree.
#include "profile/inifile.h"
#include "profile/inifileformat.h"

#include <QDataStream>
#include <QRandomGenerator>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using mc::IniFile;

namespace {

// A comparable text for a value: its type and its contents.
QString describe(const QVariant &v)
{
    if (v.userType() == QMetaType::QStringList)
        return QStringLiteral("list:") + v.toStringList().join(QChar(0x1F));
    if (v.userType() == QMetaType::QVariantList) {
        QStringList parts;
        for (const QVariant &item : v.toList())
            parts << describe(item);
        return QStringLiteral("vlist:") + parts.join(QChar(0x1E));
    }
    if (v.userType() == QMetaType::QColor) {
        const QColor c = v.value<QColor>();
        return QStringLiteral("color:%1:%2").arg(c.isValid()).arg(c.rgba(), 0, 16);
    }
    return QString::fromLatin1(v.typeName() ? v.typeName() : "invalid") + QLatin1Char(':') +
           v.toString();
}

const QStringList &awkwardStrings()
{
    static const QStringList list = {
        QString(),
        QStringLiteral("plain"),
        QStringLiteral("a, b, c"),
        QStringLiteral("with \"quotes\" inside"),
        QStringLiteral("back\\slash\\"),
        QStringLiteral("  leading and trailing  "),
        QStringLiteral("x=y;z#w"),
        QStringLiteral("; starts like a comment"),
        QStringLiteral("# hash"),
        QStringLiteral("@at sign"),
        QStringLiteral("@Variant(not really)"),
        QStringLiteral("tab\there\nnewline\r"),
        QString::fromUtf8("Ünïcödé 中文 ☃ \xF0\x9F\x98\x80"),
        QStringLiteral("\x7F\x01"
                       "0abc"),
        QString::fromUtf8("caf\xC3\xA9"
                          "1f"),
        QStringLiteral("[not a section]"),
        QStringLiteral("%41%U0042"),
    };
    return list;
}

// The QSettings format our files are compared with (see above).
QSettings::Format referenceFormat()
{
#if QT_VERSION_MAJOR < 6
    return QSettings::IniFormat;
#else
    return mc::iniSettingsFormat();
#endif
}

} // namespace

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void qsettingsWrittenReadsTheSame_data();
    void qsettingsWrittenReadsTheSame();
    void ourFilesReadTheSameInQSettings_data();
    void ourFilesReadTheSameInQSettings();
    void oddBytesParseLikeQSettings_data();
    void oddBytesParseLikeQSettings();
    void randomBytesParseLikeQSettings();
    void takenOverValuesKeepTheirMeaning();
    void numbersConvertLikeQVariant_data();
    void numbersConvertLikeQVariant();
    void colourValueForm();
    void hostileStreamIsRefused();
    void unchangedFileIsNotRewritten();
    void foreignKeysSurviveAWrite();
    void unnamedGroupStaysUnreadable();
    void missingFileIsEmpty();
    void oversizedFileIsNotRead();
    void unclosedHeadersDoNotCostAPassEach();

private:
    QTemporaryDir m_dir;
    int m_copies = 0;
    QString file(const QString &name) const { return m_dir.filePath(name); }
    // QSettings keeps the files it has seen and trusts their size and time: a copy under a new
    // name is what makes it read the bytes on disk.
    QString freshCopy(const QString &path)
    {
        const QString copy = file(QStringLiteral("copy_%1.ini").arg(++m_copies));
        QFile::copy(path, copy);
        return copy;
    }
    void compareWithQSettings(const QString &path);
};

void TestIniFile::compareWithQSettings(const QString &path)
{
    IniFile ours;
    ours.load(path);
    QStringList mine = ours.keys();
    mine.sort();
    // Under Qt 5 also the program's own format against Qt's: what the program's QSettings read
    // is what Qt 5 read.
    QVector<QSettings::Format> formats{referenceFormat()};
    if (referenceFormat() != mc::iniSettingsFormat())
        formats.append(mc::iniSettingsFormat());
    for (const QSettings::Format format : qAsConst(formats)) {
        QSettings qs(freshCopy(path), format);
        QStringList theirs = qs.allKeys();
        theirs.sort();
        QCOMPARE(mine, theirs);
        for (const QString &key : qAsConst(theirs)) {
            if (key.isEmpty()) // QSettings refuses to look up the empty key
                QVERIFY(!ours.value(key).isValid());
            else {
                const QString a = describe(ours.value(key));
                const QString b = describe(qs.value(key));
                QVERIFY2(a == b, qPrintable(QStringLiteral("%1: %2 | %3").arg(key, a, b)));
            }
        }
    }
}

void TestIniFile::qsettingsWrittenReadsTheSame_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    for (int n = 0; n < awkwardStrings().size(); ++n)
        QTest::addRow("string %d", n)
            << QStringLiteral("PROFILE/s%1").arg(n) << QVariant(awkwardStrings().at(n));
    QTest::newRow("int") << "PROFILE/pollrate" << QVariant(-12345);
    QTest::newRow("uint") << "PROFILE/DPI_INFO_0_x" << QVariant(4294967295u);
    QTest::newRow("valid colour") << "PROFILE/LedMode/LED_MODE_5_RGB" << QVariant(QColor(1, 2, 3));
    QTest::newRow("transparent colour")
        << "PROFILE/LedMode/LED_MODE_6_RGB" << QVariant(QColor(255, 34, 0, 17));
    QTest::newRow("invalid colour") << "PROFILE/LedMode/LED_MODE_0_RGB" << QVariant(QColor());
    QTest::newRow("string list") << "Config/list"
                                 << QVariant(QStringList{"a", "b, c", "@d", " e "});
    QTest::newRow("top-level key") << "toplevel" << QVariant(7);
    QTest::newRow("group named General") << "General/x" << QVariant(8);
    QTest::newRow("deep key") << "A/B/C/D" << QVariant(QStringLiteral("deep"));
    QTest::newRow("awkward key") << QString::fromUtf8("Grp/k e%y=;\"中") << QVariant(9);
    QTest::newRow("byte array") << "G/bytes" << QVariant(QByteArray("\x00\x01\xFFz", 4));
}

void TestIniFile::qsettingsWrittenReadsTheSame()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    const QString path = file(QStringLiteral("qs_%1.ini").arg(QTest::currentDataTag()));
    {
        QSettings qs(path, referenceFormat());
        qs.setValue(QStringLiteral("Before/k"), 1);
        qs.setValue(key, value);
        qs.setValue(QStringLiteral("Zafter/k"), 2);
    }
    IniFile ini;
    QVERIFY(ini.load(path));
    QVERIFY(ini.contains(key));
    QCOMPARE(describe(ini.value(key)),
             describe(QSettings(freshCopy(path), referenceFormat()).value(key)));
    QCOMPARE(ini.intValue(QStringLiteral("Zafter/k")), 2);
    compareWithQSettings(path);
}

void TestIniFile::ourFilesReadTheSameInQSettings_data()
{
    qsettingsWrittenReadsTheSame_data();
}

void TestIniFile::ourFilesReadTheSameInQSettings()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    const QString tag = QString::fromLatin1(QTest::currentDataTag());
    const QString ours = file(QStringLiteral("ours_%1.ini").arg(tag));
    const QString viaQt = file(QStringLiteral("viaqt_%1.ini").arg(tag));
    IniFile ini;
    ini.setInt(QStringLiteral("Before/k"), 1);
    ini.setValue(key, value);
    QVERIFY(ini.save(ours));
    {
        QSettings qs(viaQt, referenceFormat());
        qs.setValue(QStringLiteral("Before/k"), 1);
        qs.setValue(key, value);
    }
    QSettings fromOurs(ours, referenceFormat());
    QSettings fromQt(freshCopy(viaQt), referenceFormat());
    QCOMPARE(describe(fromOurs.value(key)), describe(fromQt.value(key)));
    QCOMPARE(fromOurs.value(QStringLiteral("Before/k")).toInt(), 1);
    // One key alone gives the very text QSettings writes.
    QFile f(viaQt);
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray qtText = f.readAll();
    IniFile single;
    single.setValue(key, value);
    const QByteArray line = single.toBytes().split('\n').value(1);
    QVERIFY2(qtText.contains("\n" + line + "\n"), qtText.constData());
    // And so does the program's QSettings, whichever Qt it runs on.
    const QString viaFormat = file(QStringLiteral("viaformat_%1.ini").arg(tag));
    {
        QSettings qs(viaFormat, mc::iniSettingsFormat());
        qs.setValue(key, value);
        qs.sync();
        QCOMPARE(qs.status(), QSettings::NoError);
    }
    QFile g(viaFormat);
    QVERIFY(g.open(QIODevice::ReadOnly));
    const QByteArray formatText = g.readAll();
    QVERIFY2(formatText.contains("\n" + line + "\n"), formatText.constData());
}

void TestIniFile::oddBytesParseLikeQSettings_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("comments") << QByteArray("; c\n[G]\n;x=1\ny=2 ; trailing\n#z=3\n");
    QTest::newRow("crlf") << QByteArray("[G]\r\na=1\r\nb = two words \r\n");
    QTest::newRow("quoted newline") << QByteArray("[G]\na=\"x\ny\"\nb=2\n");
    QTest::newRow("continuation") << QByteArray("[G]\na=abc\\\ndef\nb=2\n");
    QTest::newRow("duplicates") << QByteArray("[G]\na=1\na=2\n[H]\nb=1\n[G]\na=3\n");
    QTest::newRow("group order wins") << QByteArray("[G/x]\ny=1\n[G]\nx\\y=2\n");
    QTest::newRow("general") << QByteArray("a=0\n[general]\nb=1\n[%General]\nc=2\n");
    QTest::newRow("unterminated section") << QByteArray("[G\na=1\n[H]]\nb=2\n");
    QTest::newRow("no equals") << QByteArray("[G]\njunk line\nk=v\n=empty key\n");
    QTest::newRow("empty keys") << QByteArray("\\\t=slash\n=empty\n[G]\n\\\\=x\n");
    QTest::newRow("escapes") << QByteArray("[G]\na=\\x41\\101\\q\\\nb=\\x\nc=\"\\\"\"\n");
    QTest::newRow("lists") << QByteArray("[G]\na=1, 2 ,3\nb=\"x,y\", z\nc=@@a, @Invalid()\n");
    QTest::newRow("percent keys") << QByteArray("[%47]\n%U0041%zz%4=1\n%=2\n");
    QTest::newRow("utf8 bom") << QByteArray("\xEF\xBB\xBF[G]\na=caf\xC3\xA9\n");
    // QSettings reads the keys before the first group from the start of the file: a key right
    // after the byte order mark keeps its bytes, one after a blank or a line break does not.
    QTest::newRow("utf8 bom then a key")
        << QByteArray("\xEF\xBB\xBFname=\"multi\nline\"\r\n[%General]\r\nx=1\n");
    QTest::newRow("utf8 bom then blanks and keys")
        << QByteArray("\xEF\xBB\xBF  a=1\n;c\nb=2\n  [G]\nc=3\n[]\nd=4\n");
    QTest::newRow("latin1 bytes") << QByteArray("[G]\na=caf\xE9\n\xE9=1\n");
    QTest::newRow("variant forms")
        << QByteArray("[G]\na=@Variant(\\0\\0\\0\\x43\\x1\\xff\\xff\\xff\\xff\\0\\0\\0\\0\\0\\0)\n"
                      "b=@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)\nc=@Rect(1 2 3 4)\nd=@Size(5)\n"
                      "e=@ByteArray(xyz)\nf=@String(s)\ng=@Variant()\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("only spaces") << QByteArray(" \t\n\r\n");
}

void TestIniFile::oddBytesParseLikeQSettings()
{
    QFETCH(QByteArray, bytes);
    const QString path = file(QStringLiteral("odd_%1.ini").arg(QTest::currentDataTag()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.close();
    compareWithQSettings(path);
}

void TestIniFile::randomBytesParseLikeQSettings()
{
    // Lines assembled from the characters that matter to the format.
    static const char *const pieces[] = {
        "[",   "]",         "[G]",  "[H/I]", "=",  "\"",  ",",        ";",    "\\", "\\x4",
        "\\0", "\n",        "\r\n", " ",     "\t", "k",   "G",        "%",    "%4", "%U00e9",
        "@",   "@Variant(", ")",    "1",     "-2", "a b", "\xC3\xA9", "\xFF", "#"};
    // MC_FUZZ_SEED and MC_FUZZ_ROUNDS widen the search when the format code changes.
    const int seed = qEnvironmentVariableIsSet("MC_FUZZ_SEED")
                         ? qEnvironmentVariableIntValue("MC_FUZZ_SEED")
                         : 20240607;
    const int rounds = qEnvironmentVariableIsSet("MC_FUZZ_ROUNDS")
                           ? qEnvironmentVariableIntValue("MC_FUZZ_ROUNDS")
                           : 300;
    QRandomGenerator rng{quint32(seed)};
    for (int round = 0; round < rounds; ++round) {
        QByteArray bytes;
        const int n = rng.bounded(1, 60);
        for (int i = 0; i < n; ++i)
            bytes += pieces[rng.bounded(int(sizeof pieces / sizeof *pieces))];
        const QString path = file(QStringLiteral("random_%1.ini").arg(round));
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        compareWithQSettings(path);
        // Written again by us, every value QSettings could ask for reads the same.
        IniFile ours;
        ours.parse(bytes);
        const QString again = file(QStringLiteral("again_%1.ini").arg(round));
        QVERIFY(ours.save(again));
        QSettings before(freshCopy(path), referenceFormat());
        QSettings after(again, referenceFormat());
        for (const QString &key : before.allKeys()) {
            if (!key.isEmpty() && before.value(key).isValid())
                QCOMPARE(describe(after.value(key)), describe(before.value(key)));
        }
        if (QTest::currentTestFailed()) {
            qWarning("input was: %s", bytes.toPercentEncoding().constData());
            return;
        }
    }
}

void TestIniFile::takenOverValuesKeepTheirMeaning()
{
    // A file of odd lines, loaded, given one more key and written again by us, still reads the
    // same in QSettings: values copied over cannot swallow the lines that now follow them.
    const QByteArray odd("[G]\na=\"open quote\nb=ends with backslash\\\n[H]\nc=\"x,y\", z\n"
                         "d=caf\\xe9\ne=@Variant(\\0\\0\\0\\x43\\x1\\xff\\xff\\xff\\xff\\0\\0\\0\\0"
                         "\\0\\0)\n[%General]\nf=1\n");
    IniFile ini;
    ini.parse(odd);
    const QStringList keysBefore = ini.keys();
    QHash<QString, QString> before;
    for (const QString &k : keysBefore)
        before.insert(k, describe(ini.value(k)));
    ini.setInt(QStringLiteral("A/new"), 5);
    const QString path = file(QStringLiteral("takenover.ini"));
    QVERIFY(ini.save(path));
    QSettings qs(path, referenceFormat());
    for (const QString &k : keysBefore)
        QCOMPARE(describe(qs.value(k)), before.value(k));
    QCOMPARE(qs.value(QStringLiteral("A/new")).toInt(), 5);
}

void TestIniFile::numbersConvertLikeQVariant_data()
{
    QTest::addColumn<QByteArray>("text");
    for (const char *t : {"0", "42", "-7", "007", "999999999", "2147483648", "4294967295", "-1",
                          "99999999999", " 12 ", "1e3", "0x10", "+5", "12abc", "", "\"3\"", "1,2",
                          "@Variant(\\0\\0\\0\\x2\\0\\0\\0\\x5)"})
        QTest::newRow(t) << QByteArray(t);
}

void TestIniFile::numbersConvertLikeQVariant()
{
    QFETCH(QByteArray, text);
    // A file of its own per row: QSettings keeps files it read and trusts size and time.
    const QString path = file(QStringLiteral("num_%1.ini").arg(QTest::currentDataTag()));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write("[G]\nv=" + text + "\n");
    f.close();
    IniFile ini;
    ini.load(path);
    QSettings qs(path, referenceFormat());
    const QString key = QStringLiteral("G/v");
    QCOMPARE(ini.intValue(key, 77), qs.value(key, 77).toInt());
    QCOMPARE(ini.uintValue(key, 77), qs.value(key, 77).toUInt());
    QCOMPARE(ini.stringValue(key), qs.value(key).toString());
    QCOMPARE(ini.intValue(QStringLiteral("G/missing"), 77), 77);
}

void TestIniFile::colourValueForm()
{
    IniFile ini;
    ini.setValue(QStringLiteral("PROFILE/c"), QColor(255, 0, 0));
    ini.setValue(QStringLiteral("PROFILE/i"), QColor());
    ini.setString(QStringLiteral("PROFILE/n"), QStringLiteral("#00ff00"));
    ini.setString(QStringLiteral("PROFILE/j"), QStringLiteral("junk"));
    const QByteArray bytes = ini.toBytes();
    QVERIFY(
        bytes.contains("c=@Variant(\\0\\0\\0\\x43\\x1\\xff\\xff\\xff\\xff\\0\\0\\0\\0\\0\\0)\n"));
    QCOMPARE(ini.colorValue(QStringLiteral("PROFILE/c")), QColor(255, 0, 0));
    QVERIFY(!ini.colorValue(QStringLiteral("PROFILE/i")).isValid());
    QCOMPARE(ini.colorValue(QStringLiteral("PROFILE/n")), QColor(0, 255, 0));
    QVERIFY(!ini.colorValue(QStringLiteral("PROFILE/j")).isValid());
    QVERIFY(!ini.colorValue(QStringLiteral("PROFILE/missing")).isValid());
}

void TestIniFile::hostileStreamIsRefused()
{
    // A string list claiming two billion entries, and a map of user types: QSettings would try
    // to reserve the memory; we read an empty value.
    QByteArray stream;
    {
        QDataStream s(&stream, QIODevice::WriteOnly);
        s.setVersion(QDataStream::Qt_4_0);
        s << quint32(QMetaType::QStringList) << quint32(0x7FFFFFFF);
    }
    IniFile ini;
    ini.setEncoded(QStringLiteral("G/list"),
                   "@Variant(" + stream.toPercentEncoding().replace('%', "\\x") + ")");
    ini.setEncoded(QStringLiteral("G/user"), "@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x5xyz\\0)");
    QVERIFY(!ini.value(QStringLiteral("G/list")).isValid());
    QVERIFY(!ini.value(QStringLiteral("G/user")).isValid());
    QCOMPARE(ini.intValue(QStringLiteral("G/list"), 3), 0);
    // A colour model Qt does not know (200) would make every copy of the colour undefined.
    ini.setEncoded(QStringLiteral("G/colour"),
                   "@Variant(\\0\\0\\0\\x43\\xc8\\xff\\xff\\x1\\x1\\x2\\x2\\x3\\x3\\0\\0)");
    QVERIFY(!ini.value(QStringLiteral("G/colour")).isValid());
    // Cut short, the closing parenthesis would be the model: QSettings builds an undefined
    // colour from it; we read none.
    ini.setEncoded(QStringLiteral("G/short"), "@Variant(\\0\\0\\0\\x43)");
    QVERIFY(!ini.value(QStringLiteral("G/short")).isValid());
}

void TestIniFile::unchangedFileIsNotRewritten()
{
    const QString path = file(QStringLiteral("sub/dir/same.ini"));
    IniFile ini;
    ini.setInt(QStringLiteral("G/a"), 1);
    mc::SaveResult saved = ini.save(path);
    QVERIFY(saved.ok());
    QVERIFY(saved.written());
    saved = ini.save(path);
    QVERIFY(saved.ok());
    QVERIFY(!saved.written());
    ini.setInt(QStringLiteral("G/a"), 2);
    saved = ini.save(path);
    QVERIFY(saved.ok());
    QVERIFY(saved.written());
    IniFile back;
    back.load(path);
    QCOMPARE(back.intValue(QStringLiteral("G/a")), 2);
}

void TestIniFile::foreignKeysSurviveAWrite()
{
    const QString path = file(QStringLiteral("foreign.ini"));
    {
        QSettings qs(path, referenceFormat());
        qs.setValue(QStringLiteral("MouseName/Name"), QStringLiteral("KIV M1"));
        qs.setValue(QStringLiteral("PROFILE/unknown"), QStringLiteral("kept, too"));
    }
    IniFile ini;
    ini.load(path);
    ini.setInt(QStringLiteral("PROFILE/dpi"), 3);
    ini.remove(QStringLiteral("PROFILE/unknown"));
    ini.setString(QStringLiteral("PROFILE/unknown"), QStringLiteral("changed"));
    QVERIFY(ini.save(path));
    QSettings qs(path, referenceFormat());
    QCOMPARE(qs.value(QStringLiteral("MouseName/Name")).toString(), QStringLiteral("KIV M1"));
    QCOMPARE(qs.value(QStringLiteral("PROFILE/dpi")).toInt(), 3);
    QCOMPARE(qs.value(QStringLiteral("PROFILE/unknown")).toString(), QStringLiteral("changed"));
}

// "[" cut short by a comment opens a group without a name; its keys cannot be asked for in
// QSettings, and kept by us they still cannot.
void TestIniFile::unnamedGroupStaysUnreadable()
{
    const QByteArray odd("[;%General]\nx=1\n[General]\ny=2\n");
    const QString path = file(QStringLiteral("unnamed.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(odd);
    f.close();
    QSettings qs(path, referenceFormat());
    QVERIFY(!qs.value(QStringLiteral("x")).isValid());
    QCOMPARE(qs.value(QStringLiteral("y")).toInt(), 2);

    IniFile ini;
    ini.parse(odd);
    IniFile kept;
    kept.parse(ini.rawLines([](const QString &) { return true; }));
    QVERIFY(!kept.value(QStringLiteral("x")).isValid());
    QCOMPARE(kept.value(QStringLiteral("y")).toInt(), 2);
    QStringList before = ini.keys(), after = kept.keys();
    before.sort();
    after.sort();
    QCOMPARE(after, before);
}

void TestIniFile::missingFileIsEmpty()
{
    IniFile ini;
    ini.setInt(QStringLiteral("G/a"), 1);
    QVERIFY(!ini.load(file(QStringLiteral("does/not/exist.ini"))));
    QCOMPARE(ini.size(), 0);
    QCOMPARE(ini.intValue(QStringLiteral("G/a"), -4), -4);
}

void TestIniFile::oversizedFileIsNotRead()
{
    const QString path = file(QStringLiteral("huge.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    const QByteArray line("[G]\nk=1\n");
    QByteArray block;
    while (block.size() < 1024 * 1024)
        block += line;
    while (f.size() <= IniFile::kMaxFileSize)
        f.write(block);
    f.close();
    IniFile ini;
    QVERIFY(!ini.load(path));
    QCOMPARE(ini.size(), 0);
}

void TestIniFile::unclosedHeadersDoNotCostAPassEach()
{
    // A million header lines without "]": searched per line, not to the end of the file each.
    QByteArray bytes;
    bytes.reserve(2 * 1000 * 1000 + 16);
    for (int i = 0; i < 1000 * 1000; ++i)
        bytes += "[\n";
    bytes += "[G]\nk=5\n";
    IniFile ini;
    ini.parse(bytes);
    QCOMPARE(ini.intValue(QStringLiteral("G/k")), 5);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "test_inifile.moc"
