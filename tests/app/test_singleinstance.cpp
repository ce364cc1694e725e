// One instance per product: the lock itself, hostile product names, and the program: a second
// start ends at once with status 1 while the first runs.
#include "platform/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

using namespace mc;

class TestSingleInstance : public QObject
{
    Q_OBJECT
private slots:
    void secondHolderIsRefused()
    {
        const QString name =
            instanceMutexName(QStringLiteral("TEST %1").arg(QCoreApplication::applicationPid()));
        {
            SingleInstance first(name);
            QVERIFY(first.tryAcquire());
            QVERIFY(first.tryAcquire()); // asking again keeps it
            SingleInstance second(name);
            QVERIFY(!second.tryAcquire());
            QVERIFY(!second.held());
        }
        SingleInstance again(name);
        QVERIFY(again.tryAcquire());
    }

    void otherProductIsIndependent()
    {
        SingleInstance a(
            instanceMutexName(QStringLiteral("A%1").arg(QCoreApplication::applicationPid())));
        SingleInstance b(
            instanceMutexName(QStringLiteral("B%1").arg(QCoreApplication::applicationPid())));
        QVERIFY(a.tryAcquire());
        QVERIFY(b.tryAcquire());
    }

    void mutexName_data()
    {
        QTest::addColumn<QString>("product");
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << "KIV M1"
                               << "KIV M1 Wireless Gaming Mouse Mutex1.lock";
        QTest::newRow("empty") << ""
                               << " Wireless Gaming Mouse Mutex1.lock";
        QTest::newRow("separators") << "../../etc/x"
                                    << ".._.._etc_x Wireless Gaming Mouse Mutex1.lock";
        QTest::newRow("windows chars") << "a:b*c"
                                       << "a_b_c Wireless Gaming Mouse Mutex1.lock";
    }
    void mutexName()
    {
        QFETCH(QString, product);
        QFETCH(QString, file);
        const QString path = SingleInstance::lockFilePath(instanceMutexName(product));
        QCOMPARE(path, QDir::tempPath() + QLatin1Char('/') + file);
    }

    void secondProgramEndsWithOne()
    {
        QTemporaryDir dir;
        {
            QFile f(dir.path() + QStringLiteral("/DefaultProfile.bin"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(QStringLiteral("[PROFILE]\nProductName=SI TEST %1\n")
                        .arg(QCoreApplication::applicationPid())
                        .toUtf8());
        }
        QDir(dir.path()).mkpath(QStringLiteral("Configs"));
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("MOUSECFG_STARTUP_PROBE"), QStringLiteral("1"));
        const QString exe = QStringLiteral(MC_BIN_DIR "/mousecfg");
        const QStringList args = {QStringLiteral("--data-dir"), dir.path(),
                                  QStringLiteral("--emulate=receiver")};
        QProcess first;
        first.setProcessEnvironment(env);
        first.start(exe, args);
        QVERIFY(first.waitForStarted());
        // The first paint proves the first instance is up and holds the lock.
        QByteArray out;
        while (!out.contains("first paint") && first.waitForReadyRead(20000))
            out += first.readAllStandardOutput();
        QVERIFY2(out.contains("first paint"), out.constData());

        QProcess second;
        second.setProcessEnvironment(env);
        second.start(exe, args);
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 1);
        QVERIFY(!second.readAllStandardOutput().contains("first paint"));

        first.kill();
        first.waitForFinished();
    }
};

QTEST_MAIN(TestSingleInstance)
#include "test_singleinstance.moc"
