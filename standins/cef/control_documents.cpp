// The test control exports of documents, streams, requests and drag data.

#include "control.h"
#include "standin.h"
