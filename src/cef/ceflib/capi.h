#pragma once
// The browser runtime's C interface, in one include.

#include "cef/ceflib/capi_base.h"
#include "cef/ceflib/capi_records.h"
#include "cef/ceflib/capi_objects.h"
#include "cef/ceflib/capi_handlers.h"
#include "cef/ceflib/capi_exports.h"
