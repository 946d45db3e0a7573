// The PC's own date and time of day, for marks that hold for one day and for the
// record of picks.
#pragma once

namespace tallyra::platform {

struct LocalTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

LocalTime localTimeNow();

} // namespace tallyra::platform
