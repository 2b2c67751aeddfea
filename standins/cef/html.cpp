// The tolerant HTML parser and the questions asked of its tree.

#include "html.h"
