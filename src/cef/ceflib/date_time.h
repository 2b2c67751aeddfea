#pragma once
// The runtime's date-time record and the program's date-time value.

#include "cef/ceflib/capi.h"
#include "platform/date_time.h"

namespace cef {

using platform::SystemTime;
using platform::TDateTime;

// Field by field, in order, truncated to 16 bits.
SystemTime CefTimeToSysTime(const TCefTime& t) noexcept;
// Field by field, in order, zero-extended to 32 bits.
TCefTime SysTimeToCefTime(const SystemTime& st) noexcept;
// The runtime's UTC time as a local date-time value of the current time zone.
TDateTime CefTimeToDateValue(const TCefTime& t);
// A local date-time value as the runtime's UTC time.
TCefTime DateValueToCefTime(TDateTime d);

}  // namespace cef
