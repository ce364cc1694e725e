// The system-independent half of the focus watcher: the report's name, the watcher that is not
// available, and the choice between the system's watcher and a test's.
#include "platform/focuswatcher.h"
#include "platform/log.h"

#include <QDebug>
#include <QGuiApplication>

#include <algorithm>

namespace mc {

namespace {

class UnavailableFocusWatcher final : public FocusWatcher
{
public:
    explicit UnavailableFocusWatcher(QString reason) : m_reason(std::move(reason)) {}
    bool available() const override { return false; }
    QString unavailableReason() const override { return m_reason; }
    QVector<FocusReport> runningApplications() const override { return runningProcesses(); }

private:
    QString m_reason;
};

FocusWatcherFactory &installedFactory()
{
    static FocusWatcherFactory factory;
    return factory;
}

// A window drawn offscreen (the tests) or on a display server that is not the desktop's has
// no desktop whose front application it could follow.
bool onDisplaylessPlatform()
{
    const auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    if (!gui)
        return false;
    const QString platform = QGuiApplication::platformName();
    return platform == QLatin1String("offscreen") || platform == QLatin1String("minimal");
}

} // namespace

QString FocusReport::name() const
{
    return executable.isEmpty() ? windowClass : executable;
}

bool isOwnApplication(const FocusReport &report)
{
    if (report.pid != 0 && report.pid == QCoreApplication::applicationPid())
        return true;
    static const char *const kOwnNames[] = {
        "mousecfg",     "mousecfg.exe",     "mousecfg-osd", "mousecfg-osd.exe",
        "mousecfg-cli", "mousecfg-cli.exe", kOwnAppId,      kOwnOsdAppId,
    };
    for (const QString *name : {&report.executable, &report.windowClass, &report.instance}) {
        for (const char *own : kOwnNames) {
            if (name->compare(QLatin1String(own), Qt::CaseInsensitive) == 0)
                return true;
        }
    }
    return false;
}

QVector<FocusReport> distinctApplications(const QVector<FocusReport> &reports)
{
    QVector<FocusReport> out;
    for (const FocusReport &r : reports) {
        if (isOwnApplication(r) || r.name().isEmpty())
            continue;
        const bool seen = std::any_of(out.cbegin(), out.cend(), [&](const FocusReport &o) {
            return o.name().compare(r.name(), Qt::CaseInsensitive) == 0;
        });
        if (!seen)
            out.append(r);
    }
    std::sort(out.begin(), out.end(), [](const FocusReport &a, const FocusReport &b) {
        return a.name().compare(b.name(), Qt::CaseInsensitive) < 0;
    });
    return out;
}

FocusWatcher::FocusWatcher(QObject *parent) : QObject(parent)
{
    qRegisterMetaType<mc::FocusReport>();
    m_noneTimer = new QTimer(this);
    m_noneTimer->setSingleShot(true);
    m_noneTimer->setInterval(kNoneSettleMs);
    connect(m_noneTimer, &QTimer::timeout, this, [this] {
        if (m_last.isEmpty())
            return;
        m_last = FocusReport();
        emit focusChanged(m_last);
    });
}

void FocusWatcher::setInitialFront(const FocusReport &front)
{
    m_last = isOwnApplication(front) ? FocusReport() : front;
}

void FocusWatcher::reportFront(const FocusReport &now)
{
    if (isOwnApplication(now)) {
        // Not reported; whatever comes next is (the same game again selects nothing new,
        // since its slot is still the active one).
        m_noneTimer->stop();
        m_last = FocusReport();
        return;
    }
    if (now.isEmpty()) {
        if (!m_last.isEmpty() && !m_noneTimer->isActive())
            m_noneTimer->start();
        return;
    }
    m_noneTimer->stop();
    if (now != m_last) {
        m_last = now;
        emit focusChanged(now);
    }
}

std::unique_ptr<FocusWatcher> createFocusWatcher()
{
    if (installedFactory())
        return installedFactory()();
    QString reason;
    std::unique_ptr<FocusWatcher> watcher;
    if (onDisplaylessPlatform())
        reason = QStringLiteral("the program runs without a desktop");
    else
        watcher = createSystemFocusWatcher(&reason);
    if (watcher)
        return watcher;
    qCDebug(lcPlatform, "The application in front cannot be followed: %s", qPrintable(reason));
    return std::make_unique<UnavailableFocusWatcher>(reason);
}

void setFocusWatcherFactory(FocusWatcherFactory factory)
{
    installedFactory() = std::move(factory);
}

} // namespace mc
