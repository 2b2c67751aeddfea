// HTTP exchanges through WinHTTP.

#include "network.h"
