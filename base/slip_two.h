// Scratch: a base header that names a layer above it.
#pragma once

#include "overlay/overlay_layout.h"
