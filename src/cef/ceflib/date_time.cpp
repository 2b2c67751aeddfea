#include "cef/ceflib/date_time.h"

#include "platform/errors.h"

namespace cef {

SystemTime CefTimeToSysTime(const TCefTime& t) noexcept {
  return {static_cast<uint16_t>(t.year),         static_cast<uint16_t>(t.month),
          static_cast<uint16_t>(t.day_of_week),  static_cast<uint16_t>(t.day_of_month),
          static_cast<uint16_t>(t.hour),         static_cast<uint16_t>(t.minute),
          static_cast<uint16_t>(t.second),       static_cast<uint16_t>(t.millisecond)};
}

TCefTime SysTimeToCefTime(const SystemTime& st) noexcept {
  return {st.wYear, st.wMonth, st.wDayOfWeek, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wMilliseconds};
}

TDateTime CefTimeToDateValue(const TCefTime& t) {
  SystemTime local{};
  if (!platform::UtcToLocalTime(CefTimeToSysTime(t), local))
    throw platform::Exception(u"The runtime's date-time has no local equivalent");
  return platform::SystemTimeToDateTime(local);
}

TCefTime DateValueToCefTime(TDateTime d) {
  SystemTime utc{};
  if (!platform::LocalTimeToUtc(platform::DateTimeToSystemTime(d), utc))
    throw platform::Exception(u"The date-time has no UTC equivalent");
  return SysTimeToCefTime(utc);
}

}  // namespace cef
