// The application in front on KDE Plasma (Wayland or X11): KWin tells no other program which
// window is active, but it runs scripts, and a script may call D-Bus. We load a small script
// through KWin's scripting interface (org.kde.KWin /Scripting loadScript, then run on the
// script's object) that calls our object on the session bus with the activated window's
// resource class, resource name and process ID, once at start and at every activation.
// KWin 6 names the signal windowActivated, KWin 5 clientActivated; the script takes whichever
// exists. The script is unloaded when the watcher ends. Verified against KWin's documented
// scripting interface only; no Plasma session runs here.
#include "platform/focuswatcherroutes.h"
#include "platform/log.h"

#ifdef MC_HAVE_DBUS

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace mc {

namespace {

const char kKWinService[] = "org.kde.KWin";
const char kOurInterface[] = "org.mousecfg.FocusWatcher";
const char kOurPath[] = "/org/mousecfg/FocusWatcher";

class KWinFocusWatcher final : public FocusWatcher
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mousecfg.FocusWatcher")
public:
    ~KWinFocusWatcher() override
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        bus.unregisterObject(QLatin1String(kOurPath));
        if (m_loaded) {
            // A short wait at the end: a script left behind would keep calling a name that
            // is gone.
            bus.call(kwinCall(QStringLiteral("/Scripting"),
                              QStringLiteral("org.kde.kwin.Scripting"),
                              QStringLiteral("unloadScript"), {m_plugin}),
                     QDBus::Block, 500);
        }
    }

    bool open(QString *reason)
    {
        QDBusConnection bus = QDBusConnection::sessionBus();
        if (!bus.isConnected() || !bus.interface()) {
            *reason = QStringLiteral("no D-Bus session bus");
            return false;
        }
        if (!bus.interface()->isServiceRegistered(QLatin1String(kKWinService))) {
            *reason = QStringLiteral("KWin is not on the session bus");
            return false;
        }
        if (!bus.registerObject(QLatin1String(kOurPath), this,
                                QDBusConnection::ExportScriptableSlots)) {
            *reason = QStringLiteral("our object could not be put on the session bus");
            return false;
        }
        QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (folder.isEmpty())
            folder = QDir::tempPath();
        m_script.setFileTemplate(folder + QStringLiteral("/mousecfg-focus-XXXXXX.js"));
        if (!m_script.open() || m_script.write(scriptText(bus.baseService())) < 0 ||
            !m_script.flush()) {
            *reason = QStringLiteral("the KWin script could not be written: %1")
                          .arg(m_script.errorString());
            return false;
        }
        m_plugin = QStringLiteral("mousecfg-focus-%1").arg(QCoreApplication::applicationPid());
        // Asked without waiting: KWin answers on the event loop, and until it has, nothing
        // is in front as far as we know.
        auto *load = new QDBusPendingCallWatcher(
            bus.asyncCall(kwinCall(QStringLiteral("/Scripting"),
                                   QStringLiteral("org.kde.kwin.Scripting"),
                                   QStringLiteral("loadScript"), {m_script.fileName(), m_plugin})),
            this);
        connect(load, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *w) {
            w->deleteLater();
            const QDBusPendingReply<int> id = *w;
            if (!id.isValid() || id.value() < 0) {
                qCWarning(lcPlatform, "KWin did not load the focus script: %s",
                          qPrintable(id.error().message()));
                return;
            }
            m_loaded = true;
            run(QStringLiteral("/Scripting/Script%1").arg(id.value()),
                QStringLiteral("/%1").arg(id.value()));
        });
        return true;
    }

    bool available() const override { return true; }
    QVector<FocusReport> runningApplications() const override { return runningProcesses(); }

public slots:
    // Called by the script in KWin.
    Q_SCRIPTABLE void activated(const QString &resourceClass, const QString &resourceName, int pid)
    {
        FocusReport r;
        r.windowClass = resourceClass;
        r.instance = resourceName;
        r.pid = pid > 0 ? pid : 0;
        r.executable = executableOfProcess(r.pid);
        if (r.isEmpty())
            r = FocusReport();
        reportFront(r);
    }

private:
    static QDBusMessage kwinCall(const QString &path, const QString &interface,
                                 const QString &method, const QVariantList &args)
    {
        QDBusMessage m =
            QDBusMessage::createMethodCall(QLatin1String(kKWinService), path, interface, method);
        m.setArguments(args);
        return m;
    }

    // KWin 6 keeps a loaded script at /Scripting/Script<id>, KWin 5 at /<id>.
    void run(const QString &path, const QString &fallback)
    {
        auto *w = new QDBusPendingCallWatcher(
            QDBusConnection::sessionBus().asyncCall(
                kwinCall(path, QStringLiteral("org.kde.kwin.Script"), QStringLiteral("run"), {})),
            this);
        connect(w, &QDBusPendingCallWatcher::finished, this,
                [this, fallback](QDBusPendingCallWatcher *w) {
                    w->deleteLater();
                    if (!w->isError())
                        return;
                    if (!fallback.isEmpty())
                        run(fallback, QString());
                    else
                        qCWarning(lcPlatform, "KWin did not run the focus script: %s",
                                  qPrintable(w->error().message()));
                });
    }

    static QByteArray scriptText(const QString &service)
    {
        return QStringLiteral(
                   "(function () {\n"
                   "    function report(w) {\n"
                   "        callDBus(\"%1\", \"%2\", \"%3\", \"activated\",\n"
                   "                 w ? String(w.resourceClass) : \"\",\n"
                   "                 w ? String(w.resourceName) : \"\", w ? Number(w.pid) : 0);\n"
                   "    }\n"
                   "    if (workspace.windowActivated) {\n"
                   "        workspace.windowActivated.connect(report);\n"
                   "        report(workspace.activeWindow);\n"
                   "    } else {\n"
                   "        workspace.clientActivated.connect(report);\n"
                   "        report(workspace.activeClient);\n"
                   "    }\n"
                   "})();\n")
            .arg(service, QLatin1String(kOurPath), QLatin1String(kOurInterface))
            .toUtf8();
    }

    QTemporaryFile m_script;
    QString m_plugin;
    bool m_loaded = false;
};

} // namespace

std::unique_ptr<FocusWatcher> createKWinFocusWatcher(QString *reason)
{
    auto watcher = std::make_unique<KWinFocusWatcher>();
    if (watcher->open(reason))
        return watcher;
    return nullptr;
}

} // namespace mc

#include "focuswatcher_kwin_linux.moc"

#else

namespace mc {
std::unique_ptr<FocusWatcher> createKWinFocusWatcher(QString *reason)
{
    *reason = QStringLiteral("built without D-Bus support");
    return nullptr;
}
} // namespace mc

#endif
