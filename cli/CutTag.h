#pragma once
// The companion's tag record for a cut comes from the shared cut request.
#include "request/CutRequest.h"
