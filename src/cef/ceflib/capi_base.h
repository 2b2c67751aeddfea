#pragma once
// The runtime's calling conventions, the object header every structure begins with,
// strings, string lists and maps, and the date-time record. These are wire formats,
// shared with whatever takes the runtime's place; sizes and offsets are checked for the
// 32-bit build in capi_layout.cpp.

#include <cstdint>

// Members of runtime structures use the standard Windows convention on 32-bit Windows
// (the callee removes the arguments); exports use the C convention. Elsewhere both are
// the platform's only convention, and the macros are empty.
#if defined(_WIN32) && !defined(_WIN64)
#define CEF_CALLBACK __stdcall
#define CEF_EXPORT_CC __cdecl
#else
#define CEF_CALLBACK
#define CEF_EXPORT_CC
#endif

extern "C" {

// A Boolean passed as an argument, a result or through an out-pointer: 32 bits, 0 or 1
// on the way out, true when non-zero on the way in.
typedef int32_t TCefBool;
// A Boolean inside a record: one byte.
typedef uint8_t TCefRecordBool;

typedef void* TCefWindowHandle;
typedef void* TCefMenuHandle;
typedef void* TCefCursorHandle;
typedef void* TCefDeviceContext;

// The header of every runtime object and of every object the program hands to the runtime.
typedef struct TCefBase TCefBase;
struct TCefBase {
  uint32_t size;  // byte size of the whole structure
  int32_t(CEF_CALLBACK* add_ref)(TCefBase* self);
  int32_t(CEF_CALLBACK* release)(TCefBase* self);
  int32_t(CEF_CALLBACK* get_refct)(TCefBase* self);
};

// Strings: code units, a length in code units (not always zero-terminated), and the
// function that frees the characters, null when they belong to someone else.
typedef struct TCefStringUtf16 {
  char16_t* str;
  uint32_t length;
  void(CEF_CALLBACK* dtor)(char16_t* str);
} TCefStringUtf16;

typedef struct TCefStringUtf8 {
  char* str;
  uint32_t length;
  void(CEF_CALLBACK* dtor)(char* str);
} TCefStringUtf8;

// Wide characters are the platform's: UTF-16 on Windows, UTF-32 elsewhere.
typedef struct TCefStringWide {
  wchar_t* str;
  uint32_t length;
  void(CEF_CALLBACK* dtor)(wchar_t* str);
} TCefStringWide;

// The layer's runtime string type is UTF-16.
typedef TCefStringUtf16 TCefString;

// Runtime-allocated strings returned by operations; the receiver frees them.
typedef TCefStringUtf16* TCefStringUserFreeUtf16;
typedef TCefStringUtf8* TCefStringUserFreeUtf8;
typedef TCefStringWide* TCefStringUserFreeWide;
typedef TCefStringUserFreeUtf16 TCefStringUserFree;

// Opaque runtime collections.
typedef struct TCefStringListHandle* TCefStringList;
typedef struct TCefStringMapHandle* TCefStringMap;

// The runtime's date-time, in UTC, with the conventions of SYSTEMTIME (0 = Sunday).
typedef struct TCefTime {
  int32_t year;
  int32_t month;
  int32_t day_of_week;
  int32_t day_of_month;
  int32_t hour;
  int32_t minute;
  int32_t second;
  int32_t millisecond;
} TCefTime;

}  // extern "C"
