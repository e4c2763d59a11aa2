#include "editor/ui/win32/system_clock.h"

#include <windows.h>

namespace facetor::win32 {

LocalDateTime SystemClock::now() const {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond, t.wDayOfWeek};
}

}  // namespace facetor::win32
