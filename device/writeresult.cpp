// Texts of the write results.
#include "device/writeresult.h"

#include <QCoreApplication>

namespace mc {

const char *writeResultSourceText(uint8_t result)
{
    switch (result) {
    case kOk:
        return "";
    case kMouseOff:
        return QT_TRANSLATE_NOOP("QObject", "Mouse is sleeping or not connected.");
    case kTooManyMacros:
        return QT_TRANSLATE_NOOP("QObject", "The buttons run more than 12 different macros; "
                                            "the mouse holds at most 12. Nothing was sent.");
    case kValueOutOfRange:
        return QT_TRANSLATE_NOOP("QObject", "The mouse has no such profile. Nothing was sent.");
    case kSaveFailed:
        return QT_TRANSLATE_NOOP("QObject", "The settings could not be saved to the data folder. "
                                            "Nothing was sent.");
    case kStoreUnreadable:
        return QT_TRANSLATE_NOOP("QObject", "A settings file could not be read. Nothing was "
                                            "saved or sent.");
    case kNoProductDescription:
        return QT_TRANSLATE_NOOP("QObject", "The product description is missing or damaged, so "
                                            "the mouse's buttons are not known. Your settings "
                                            "were saved; nothing was sent, and the mouse keeps "
                                            "its own settings.");
    default:
        return QT_TRANSLATE_NOOP("QObject", "Send data failed, please try again.");
    }
}

QString writeResultText(uint8_t result)
{
    return QCoreApplication::translate("QObject", writeResultSourceText(result));
}

} // namespace mc
