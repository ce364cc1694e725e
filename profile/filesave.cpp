// Safe reading and atomic writing of the user's files.
#include "profile/filesave.h"
#include "profile/log.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QSaveFile>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace mc {

namespace {

// Files compared before they are replaced are read whole; none of ours comes near this (a full
// export is about 1.3 MB), and a larger one in a target's place is not ours to replace unseen.
constexpr qint64 kMaxReplacedSize = 8 * 1024 * 1024;

constexpr char kNotRegular[] = QT_TRANSLATE_NOOP("SaveResult", "not a regular file");
constexpr char kTooLarge[] =
    QT_TRANSLATE_NOOP("SaveResult", "too large to be one of this program's files");

QString translated(const char *text)
{
    return QCoreApplication::translate("SaveResult", text);
}

} // namespace

bool openRegularFile(QFile &file, const QString &path, QString *reason)
{
    const auto fail = [&](const QString &why) {
        if (reason)
            *reason = why;
        return false;
    };
#ifdef Q_OS_UNIX
    // Opened without blocking first: opening a FIFO for reading would wait for a writer for
    // ever. Whether it is a regular file is asked of the open descriptor, so nothing can be put
    // in its place between the check and the read.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail(translated(kNotRegular));
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return fail(file.errorString());
    }
    return true;
#else
    if (!QFileInfo(path).isFile())
        return fail(translated(kNotRegular));
    file.setFileName(path);
    if (!file.open(QIODevice::ReadOnly))
        return fail(file.errorString());
    return true;
#endif
}

bool readRegularFile(const QString &path, qint64 maxSize, QByteArray &out, QString *reason)
{
    out.clear();
    QFile file;
    if (!openRegularFile(file, path, reason))
        return false;
    if (file.size() > maxSize) {
        if (reason)
            *reason = translated(kTooLarge);
        return false;
    }
    if (!readBounded(file, maxSize, out)) {
        if (reason)
            *reason =
                file.error() != QFileDevice::NoError ? file.errorString() : translated(kTooLarge);
        return false;
    }
    return true;
}

bool readBounded(QIODevice &device, qint64 maxSize, QByteArray &out)
{
    // Read by the size the device has: reading up to the limit would take a buffer of the
    // limit's size for every file. A file that grew since (or a special file, which has no
    // size) is read on up to the limit.
    const qint64 expected = qBound<qint64>(0, device.size() - device.pos(), maxSize);
    out = device.read(expected + 1);
    if (out.size() > expected && out.size() <= maxSize)
        out += device.read(maxSize + 1 - out.size());
    const auto *file = qobject_cast<const QFileDevice *>(&device);
    if (out.size() > maxSize || (file && file->error() != QFileDevice::NoError)) {
        out.clear();
        return false;
    }
    return true;
}

struct SaveBatch::Pending
{
    QString path;
    QSaveFile file;
    QString target;  // the file the rename replaces (a symbolic link's target); empty if new
    QString keptOld; // the old file's second name while the batch commits
    bool notPutBack = false;
    explicit Pending(const QString &p) : path(p), file(p) {}
};

namespace {

// Replaces to by from in one step, as the renames of a commit do.
bool replaceFile(const QString &from, const QString &to)
{
#ifdef Q_OS_WIN
    return MoveFileExW(reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(from).utf16()),
                       reinterpret_cast<const wchar_t *>(QDir::toNativeSeparators(to).utf16()),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return ::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) == 0;
#endif
}

// A second name for the old file beside it, that nothing else uses. A hard link costs no room
// (a full disk is when a batch is most likely to fail); where the file system has none, a copy.
QString keepAside(const QString &target, QString *reason)
{
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QString aside = target + QStringLiteral(".old-") +
                              QString::number(QRandomGenerator::global()->generate(), 16);
#ifdef Q_OS_UNIX
        if (::link(QFile::encodeName(target).constData(), QFile::encodeName(aside).constData()) ==
            0)
            return aside;
        if (errno == EEXIST)
            continue;
#endif
        if (QFileInfo::exists(aside))
            continue;
        QFile old(target);
        if (old.copy(aside))
            return aside;
        *reason = old.errorString();
        return QString();
    }
    *reason = translated(QT_TRANSLATE_NOOP("SaveResult", "no free name to keep the old file"));
    return QString();
}

} // namespace

SaveBatch::SaveBatch() = default;
SaveBatch::~SaveBatch() = default; // a QSaveFile not committed removes what it wrote aside

void SaveBatch::add(const QString &path, const QByteArray &bytes)
{
    if (!m_result)
        return;
    const auto fail = [&](const QString &reason) {
        qCDebug(lcProfile, "%s could not be saved: %s", qPrintable(path), qPrintable(reason));
        m_result = SaveResult::failed(path, reason);
        m_pending.clear();
    };
    for (auto it = m_pending.begin(); it != m_pending.end(); ++it) {
        if ((*it)->path == path) {
            m_pending.erase(it); // the later bytes win
            break;
        }
    }
    const QFileInfo info(path);
    QDateTime oldTime;
    if (info.exists() || info.isSymLink()) {
        // A file that is there but could not be read may hold what the user cannot afford to
        // lose: it is never replaced by what we know.
        QByteArray existing;
        QString reason;
        if (!readRegularFile(path, kMaxReplacedSize, existing, &reason))
            return fail(reason);
        if (existing == bytes) {
            m_result += SaveResult::done(path, false);
            return;
        }
        oldTime = info.lastModified();
    }
    if (!QDir().mkpath(info.absolutePath()))
        return fail(translated(QT_TRANSLATE_NOOP("SaveResult", "its folder could not be created")));
    auto pending = std::make_unique<Pending>(path);
    if (oldTime.isValid())
        pending->target = info.canonicalFilePath();
    QSaveFile &file = pending->file;
    // QSaveFile renames over the target only what was written; but a write buffered by the file
    // device fails only in the flush at commit, which QSaveFile does not count as a write error
    // and would rename a cut-short file over the old one. So everything is flushed here, and a
    // failed flush cancels.
    if (!file.open(QIODevice::WriteOnly))
        return fail(file.errorString());
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            break;
        done += n;
    }
    bool complete = done == bytes.size() && file.flush();
    // A write cut short leaves no reason behind; the rest written again fails with one ("No
    // space left on device").
    if (!complete && done == bytes.size())
        file.flush();
    if (!complete || file.error() != QFileDevice::NoError) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return fail(reason);
    }
    // QSettings, which other parts of the program (and other programs) use on the same small
    // files, trusts its cached copy while size and modification time stay the same; the clock
    // that stamps files may not have moved since the last write, so the new file is made newer.
    if (oldTime.isValid()) {
        const QDateTime written = file.fileTime(QFileDevice::FileModificationTime);
        if (written.isValid() && written <= oldTime)
            file.setFileTime(oldTime.addMSecs(1), QFileDevice::FileModificationTime);
    }
    m_pending.push_back(std::move(pending));
}

bool SaveBatch::keepOldFilesAside()
{
    // The last rename needs nothing kept: when it fails, its own target was not touched.
    for (size_t i = 0; i + 1 < m_pending.size(); ++i) {
        Pending &p = *m_pending[i];
        if (p.target.isEmpty())
            continue;
        QString reason;
        p.keptOld = keepAside(p.target, &reason);
        if (p.keptOld.isEmpty()) {
            qCDebug(lcProfile, "%s could not be kept aside: %s", qPrintable(p.target),
                    qPrintable(reason));
            m_result = SaveResult::failed(p.path, reason);
            return false;
        }
    }
    return true;
}

void SaveBatch::putBack(size_t renamed)
{
    for (size_t i = renamed; i-- > 0;) {
        Pending &p = *m_pending[i];
        bool back = false;
        if (!p.keptOld.isEmpty()) {
            back = replaceFile(p.keptOld, p.target);
            if (back)
                p.keptOld.clear();
        } else {
            back = QFile::remove(p.path); // there was none before the batch
        }
        if (!back) {
            qCWarning(lcProfile, "%s could not be put back as it was", qPrintable(p.path));
            p.notPutBack = true;
        }
    }
}

void SaveBatch::dropOldFiles()
{
    for (auto &p : m_pending) {
        // An old file that could not be put back stays where the user is told it is.
        if (!p->keptOld.isEmpty() && !p->notPutBack)
            QFile::remove(p->keptOld);
    }
}

SaveResult SaveBatch::commit()
{
    if (!m_result || m_pending.empty()) {
        m_pending.clear();
        return m_result;
    }
    if (keepOldFilesAside()) {
        for (size_t i = 0; i < m_pending.size(); ++i) {
            Pending &p = *m_pending[i];
            if (p.file.commit()) {
                m_result += SaveResult::done(p.path, true);
                continue;
            }
            QString reason = p.file.errorString();
            qCDebug(lcProfile, "%s could not be saved: %s", qPrintable(p.path), qPrintable(reason));
            putBack(i);
            for (size_t j = 0; j < i; ++j) {
                const Pending &earlier = *m_pending[j];
                if (!earlier.notPutBack)
                    continue;
                reason += QLatin1String("; ") +
                          translated(
                              QT_TRANSLATE_NOOP("SaveResult", "%1 could not be put back as it was"))
                              .arg(QDir::toNativeSeparators(earlier.path));
                if (!earlier.keptOld.isEmpty())
                    reason += QLatin1Char(' ') +
                              translated(QT_TRANSLATE_NOOP("SaveResult", "(its old content is %1)"))
                                  .arg(QDir::toNativeSeparators(earlier.keptOld));
            }
            m_result = SaveResult::failed(p.path, reason);
            break;
        }
    }
    dropOldFiles();
    m_pending.clear();
    return m_result;
}

SaveResult saveFileAtomically(const QString &path, const QByteArray &bytes)
{
    SaveBatch batch;
    batch.add(path, bytes);
    return batch.commit();
}

} // namespace mc
