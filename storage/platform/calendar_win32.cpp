#include "storage/platform/calendar.h"

#include <windows.h>

namespace tallyra::platform {

LocalTime localTimeNow() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

} // namespace tallyra::platform
