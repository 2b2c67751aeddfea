// The test control exports of browsers, frames, documents, streams and drag data.

#include "control.h"
#include "standin.h"
