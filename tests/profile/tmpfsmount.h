// A small tmpfs mounted on a temporary folder for the length of a test, to run the program on a
// file system that fills up. Mounting takes root; elsewhere (or where the system refuses the
// mount) the test is skipped with a message. The destructor unmounts on every way out of the
// test function, failed checks and skips included.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

namespace mctest {

class TmpfsMount
{
public:
    explicit TmpfsMount(int sizeKb)
    {
        if (::geteuid() != 0) {
            m_why = QStringLiteral("mounting a small tmpfs needs root");
            return;
        }
        if (!m_dir.isValid() ||
            QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               QStringLiteral("size=%1k").arg(sizeKb), QStringLiteral("tmpfs"),
                               m_dir.path()}) != 0) {
            m_why = QStringLiteral("the system refused to mount a tmpfs");
            return;
        }
        m_mounted = true;
    }
    ~TmpfsMount()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {QStringLiteral("-l"), m_dir.path()});
    }
    TmpfsMount(const TmpfsMount &) = delete;
    TmpfsMount &operator=(const TmpfsMount &) = delete;

    bool mounted() const { return m_mounted; }
    QString whyNot() const { return m_why; }
    QString path() const { return m_dir.path(); }

    // Fills the file system up, then gives back about freeKb (in whole pages): what is left
    // for the program under test.
    bool fillLeaving(int freeKb)
    {
        QFile filler(m_dir.filePath(QStringLiteral(".filler")));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered))
            return false;
        const QByteArray page(4096, 'f');
        while (filler.write(page) == page.size()) {
        }
        return filler.resize(std::max<qint64>(0, filler.size() - qint64(freeKb) * 1024));
    }

private:
    QTemporaryDir m_dir;
    bool m_mounted = false;
    QString m_why;
};

} // namespace mctest
