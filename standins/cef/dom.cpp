// Documents, nodes, events and event listeners over a frame's document tree.

#include "dom.h"
