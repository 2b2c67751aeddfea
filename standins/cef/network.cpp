// Redirects, host mapping and the address helpers around the HTTP library.

#include "network.h"
