// A temporary data folder and an emulated mouse for main-window tests, and a helper that
// answers the message boxes the window opens (they run their own event loop).
#pragma once

#include "app/mousecfgwidget.h"
#include "device/batterythread.h"
#include "device/devicetable.h"
#include "device/hidbackend.h"
#include "emulator/emulatedmouse.h"
#include "profile/paths.h"
#include "widgets/kivmessagebox.h"
#include "widgets/kivpushbutton.h"
#include "widgets/theme.h"
#include "widgets/uiscale.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>

namespace mc::test {

// Short pauses for the status poller, so that the mouse's reports arrive within a few
// milliseconds and a status query comes about once a second.
inline PollTimings quickPollTimings()
{
    PollTimings t;
    t.afterQuery = 1;
    t.queryRead = 200;
    t.afterQueryPass = 1;
    t.listenRead = 20;
    t.afterListen = 1;
    t.afterReadError = 1;
    return t;
}

class WindowFixture
{
public:
    explicit WindowFixture(bool mousePlugged)
    {
        setAppDir(m_dir.path());
        QDir(m_dir.path()).mkpath(QStringLiteral("Configs"));
        QDir(m_dir.path()).mkpath(QStringLiteral("lang"));
        describe(QStringLiteral("PROFILE/ProductName"), QStringLiteral("KIV M1"));
        // A description that names the buttons: without one nothing is written to the mouse.
        describe(QStringLiteral("PROFILE/ButtonCount"), 6);
        configure(QStringLiteral("Mouse_List/0"), QStringLiteral("KIV M1"));
        // A front picture for the product, so the pictures have something to show.
        QDir(m_dir.path()).mkpath(QStringLiteral("skin/mouse/KIV M1"));
        QImage front(30, 40, QImage::Format_ARGB32);
        front.fill(Qt::gray);
        front.save(m_dir.path() + QStringLiteral("/skin/mouse/KIV M1/Mouse.png"));
        // The emulated mouse reads its IDs and name from the data folder when it is made.
        m_mouse = std::make_unique<EmulatedMouse>();
        if (mousePlugged)
            m_mouse->plug(EmulatedMouse::Attachment::Receiver);
        setHidBackend(m_mouse.get());
        setScaleFactor(1.0);
        resetThemeCache();
        // The window as on a desktop with a tray (tests of a tray-less desktop say so), in an
        // application that, like the program, does not end with its last window.
        MousecfgWidget::setTrayProbe([] { return true; });
        QApplication::setQuitOnLastWindowClosed(false);
    }
    ~WindowFixture()
    {
        MousecfgWidget::setTrayProbe(nullptr);
        setHidBackend(nullptr);
        setAppDir(QString());
        resetThemeCache();
    }

    QString path() const { return m_dir.path(); }
    EmulatedMouse &mouse() { return *m_mouse; }

    void describe(const QString &key, const QVariant &value)
    {
        QSettings s(m_dir.path() + QStringLiteral("/DefaultProfile.bin"), QSettings::IniFormat);
        s.setValue(key, value);
    }
    void configure(const QString &key, const QVariant &value)
    {
        {
            QSettings s(m_dir.path() + QStringLiteral("/Configs/Config.ini"), QSettings::IniFormat);
            s.setValue(key, value);
        }
        resetThemeCache();
    }
    QVariant configured(const QString &key) const
    {
        QSettings s(m_dir.path() + QStringLiteral("/Configs/Config.ini"), QSettings::IniFormat);
        return s.value(key);
    }
    void languages(int count)
    {
        configure(QStringLiteral("FONT_LIST/LANGNUM"), count);
        for (int i = 0; i < 10; ++i) {
            configure(QStringLiteral("FONT_LIST/LangName_%1").arg(i),
                      QStringLiteral("Lang %1").arg(i));
            configure(QStringLiteral("FONT_LIST/LangFile_%1").arg(i), QStringLiteral("en"));
        }
    }

private:
    QTemporaryDir m_dir;
    std::unique_ptr<EmulatedMouse> m_mouse;
};

// Polls for a modal message box and hands it to the action (which decides how to close it);
// counts the boxes seen.
class BoxAnswerer : public QObject
{
public:
    explicit BoxAnswerer(std::function<void(KivMessageBox *)> action) : m_action(std::move(action))
    {
        m_timer.setInterval(5);
        connect(&m_timer, &QTimer::timeout, this, [this] {
            auto *box = qobject_cast<KivMessageBox *>(QApplication::activeModalWidget());
            // Boxes live on the stack: a later one may have the same address, so each box is
            // marked rather than remembered.
            if (!box || box->property("answered").toBool())
                return;
            box->setProperty("answered", true);
            ++m_count;
            m_action(box);
        });
        m_timer.start();
    }
    int count() const { return m_count; }

private:
    std::function<void(KivMessageBox *)> m_action;
    QTimer m_timer;
    int m_count = 0;
};

inline void acceptBox(KivMessageBox *box)
{
    box->accept();
}

} // namespace mc::test
