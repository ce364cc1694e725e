// The control file of the emulated mouse.
#include "emulator/emulatorcontrol.h"
#include "emulator/log.h"

#include "emulator/emulatedmouse.h"

#include <QFile>
#include <QFileSystemWatcher>

namespace mc {

namespace {
// A control file is a few short lines; anything larger is not ours.
constexpr qint64 kMaxControlFileSize = 4096;

bool attachmentNamed(const QString &name, EmulatedMouse::Attachment *attachment)
{
    if (name == QLatin1String("receiver"))
        *attachment = EmulatedMouse::Attachment::Receiver;
    else if (name == QLatin1String("cable"))
        *attachment = EmulatedMouse::Attachment::Cable;
    else
        return false;
    return true;
}

bool byteArgument(const QString &text, uint8_t *value)
{
    bool ok = false;
    const uint v = text.toUInt(&ok, 0);
    if (!ok || v > 0xFF)
        return false;
    *value = uint8_t(v);
    return true;
}
} // namespace

EmulatorControl::EmulatorControl(EmulatedMouse &mouse, const QString &path, QObject *parent)
    : QObject(parent), m_mouse(mouse), m_path(path), m_watcher(new QFileSystemWatcher(this))
{
    // Create the file so that it can be watched before the first command is written.
    QFile file(m_path);
    if (!file.exists() && file.open(QIODevice::WriteOnly))
        file.close();
    if (!m_watcher->addPath(m_path))
        qCDebug(lcEmulator, "Emulator control file %s cannot be watched", qUtf8Printable(m_path));
    connect(m_watcher, &QFileSystemWatcher::fileChanged, this, [this] {
        readCommands();
        // Editors and "mv" replace the file; watch the new one.
        if (!m_watcher->files().contains(m_path) && QFile::exists(m_path))
            m_watcher->addPath(m_path);
    });
}

void EmulatorControl::readCommands()
{
    QFile file(m_path);
    if (file.size() > kMaxControlFileSize || !file.open(QIODevice::ReadOnly))
        return;
    const QList<QByteArray> lines = file.readAll().split('\n');
    for (const QByteArray &line : lines) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (!text.isEmpty() && !runLine(m_mouse, text))
            qCDebug(lcEmulator, "Emulator control: unknown command \"%s\"", qUtf8Printable(text));
    }
}

bool EmulatorControl::runLine(EmulatedMouse &mouse, const QString &line)
{
    const QStringList words = line.simplified().split(QLatin1Char(' '));
    const QString &verb = words.first();
    EmulatedMouse::Attachment attachment{};
    if ((verb == QLatin1String("plug") || verb == QLatin1String("unplug")) && words.size() == 2 &&
        attachmentNamed(words.at(1), &attachment)) {
        if (verb == QLatin1String("plug"))
            mouse.plug(attachment);
        else
            mouse.unplug(attachment);
        return true;
    }
    if ((verb == QLatin1String("off") || verb == QLatin1String("on")) && words.size() == 1) {
        mouse.setMouseOff(verb == QLatin1String("off"));
        return true;
    }
    if (verb == QLatin1String("reset") && words.size() == 1) {
        mouse.factoryReset();
        return true;
    }
    if ((verb == QLatin1String("motion") || verb == QLatin1String("key")) && words.size() == 2) {
        bool ok = false;
        const int value = words.at(1).toInt(&ok, 0);
        if (!ok || value < 0)
            return false;
        if (verb == QLatin1String("motion"))
            mouse.setMotion(value);
        else
            mouse.sendKey(value);
        return true;
    }
    uint8_t slot = 0, stage = 0, rate = 0;
    if (verb == QLatin1String("report") && words.size() == 4 && byteArgument(words.at(1), &slot) &&
        byteArgument(words.at(2), &stage) && byteArgument(words.at(3), &rate)) {
        mouse.sendChangeReport(slot, stage, rate, 0);
        return true;
    }
    return false;
}

} // namespace mc
