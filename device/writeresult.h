// Result codes of a write to the mouse beyond the transport's (0 ok, 1 no device, 2 no valid
// answer, 4 write failed, 5 mouse off) and the text each result is reported with.
#pragma once

#include "device/transport.h"

#include <QString>

#include <cstdint>

namespace mc {

// Refused before anything was sent: the buttons run more distinct macros than the mouse has
// macro slots.
constexpr uint8_t kTooManyMacros = 6;
// Refused before anything was sent: a value the mouse has no place for (a slot number past 4).
constexpr uint8_t kValueOutOfRange = 7;
// Nothing was sent: the settings could not be saved to the data folder (a folder that is a file,
// a slot file that is a folder, a name too long for a file), and the mouse must not hold what
// the files do not.
constexpr uint8_t kSaveFailed = 8;
// Nothing was saved or sent: a settings file is there but could not be read when the store was
// loaded, so the store does not hold the user's settings.
constexpr uint8_t kStoreUnreadable = 9;
// Nothing was sent: the product description is missing or damaged, so the mouse's buttons are
// not known and would all go out switched off. The mouse keeps its own settings.
constexpr uint8_t kNoProductDescription = 10;

// The English source text of a result (context "QObject"): "Mouse is sleeping or not
// connected." for 5, "Send data failed, please try again." for the transport's failures, a
// text of its own for each refusal, and an empty text for 0.
const char *writeResultSourceText(uint8_t result);
// The same through the translation layer.
QString writeResultText(uint8_t result);

} // namespace mc
