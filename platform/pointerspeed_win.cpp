// Pointer speed on Windows: SystemParametersInfoW with SPI_GETMOUSESPEED / SPI_SETMOUSESPEED,
// whose scale (1 to 20) is the program's own.
#include "platform/pointerspeed.h"
#include "platform/log.h"

#include <QtGlobal>

#include <windows.h>

namespace mc {

int GetSystemPointerSpeed()
{
    int speed = 0;
    // The call's own result is not examined: a failure leaves the speed at 0.
    SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0);
    return speed;
}

bool setSystemPointerSpeedValue(int speed)
{
    // The speed travels as the pointer-sized value itself, not as an address. Stored in the
    // user profile and announced to running programs.
    const BOOL ok = SystemParametersInfoW(SPI_SETMOUSESPEED, 0,
                                          reinterpret_cast<PVOID>(static_cast<INT_PTR>(speed)),
                                          SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
    if (!ok) {
        qCDebug(lcPlatform, "Error in SystemParametersInfo :%d", static_cast<int>(GetLastError()));
        return false;
    }
    return true;
}

PointerSpeedRoute pointerSpeedRoute()
{
    return PointerSpeedRoute::Windows;
}

QString pointerSpeedUnavailableReason()
{
    return QString();
}

} // namespace mc
