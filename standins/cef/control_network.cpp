// The test control exports of the network and the document parser.

#include "control.h"
#include "standin.h"
