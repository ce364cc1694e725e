// QSettings on our INI rules. Qt 6's own INI format writes text outside ASCII as raw UTF-8 and
// reads every byte as UTF-8, where Qt 5 (and every file this program has stored) escapes such
// text and reads bytes as Latin-1 unless the file starts with a UTF-8 byte order mark. Code that
// wants QSettings' interface on one of our files uses this format instead of
// QSettings::IniFormat, so that the same file reads and writes the same bytes whichever Qt the
// program was built with.
#pragma once

#include <QSettings>

namespace mc {

// Registered once, on first use; safe to call from any thread. Keys are case-sensitive on every
// platform, as IniFile's are.
QSettings::Format iniSettingsFormat();

} // namespace mc
