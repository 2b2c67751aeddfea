// HTTP exchanges through libcurl.

#include "network.h"
