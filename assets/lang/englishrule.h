// How the shipped English translation renders a source text: most texts of the context QObject
// in capitals, a few left as they are or renamed, the dialogs' Ok, Yes and No in capitals, and
// the texts of the main window and the macro editor unchanged. Used by the translation update
// tool and checked by the tests against assets/lang/en.ts.
#pragma once

#include <QString>

namespace mc {

QString englishRendering(const QString &context, const QString &source);

// Fills every message of a Qt Linguist file (.ts contents) with its English rendering and
// marks it finished. Messages and everything else in the file keep their order.
QString fillEnglishTranslations(const QString &tsContents);

} // namespace mc
