// The save result and its text for the user.
#include "profile/saveresult.h"

#include <QCoreApplication>
#include <QDir>

namespace mc {

SaveResult SaveResult::done(const QString &file, bool written)
{
    SaveResult r;
    r.m_written = written;
    r.m_file = QDir::toNativeSeparators(file);
    return r;
}

SaveResult SaveResult::failed(const QString &file, const QString &reason)
{
    SaveResult r;
    r.m_ok = false;
    r.m_file = QDir::toNativeSeparators(file);
    r.m_reason = reason.isEmpty()
                     ? QCoreApplication::translate("SaveResult", "the file system refused it")
                     : reason;
    return r;
}

SaveResult SaveResult::unsafeName(const QString &name)
{
    return failed(name, QCoreApplication::translate("SaveResult", "not a usable file name"));
}

SaveResult SaveResult::unreadable(const QString &file)
{
    return failed(file, QCoreApplication::translate(
                            "SaveResult", "it is there but could not be read, so it is kept"));
}

QString SaveResult::message() const
{
    if (m_ok)
        return QString();
    return QCoreApplication::translate("SaveResult", "%1 could not be saved: %2.")
        .arg(m_file, m_reason);
}

SaveResult &SaveResult::operator+=(const SaveResult &next)
{
    if (!m_ok)
        return *this;
    const bool written = m_written || next.m_written;
    *this = next;
    m_written = written;
    return *this;
}

} // namespace mc
