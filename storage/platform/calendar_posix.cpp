#include "storage/platform/calendar.h"

#include <time.h>

namespace tallyra::platform {

LocalTime localTimeNow() {
    const time_t now = ::time(nullptr);
    struct tm local {};
    ::localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

} // namespace tallyra::platform
