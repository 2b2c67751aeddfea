#pragma once
// The platform's date-time value: an OLE Automation date, days since 30 December 1899 as a
// double whose fraction is the time of day. Before that day the integral part counts
// back and the fraction still counts forward from midnight (-1.25 is 29 December 1899, 06:00).

#include "platform/time_zone.h"

namespace platform {

using TDateTime = double;

// Throws platform::Exception for fields that name no valid date and time.
TDateTime SystemTimeToDateTime(const SystemTime& time);
// The day of week is computed (0 = Sunday); milliseconds are rounded to the nearest.
SystemTime DateTimeToSystemTime(TDateTime value);

}  // namespace platform
