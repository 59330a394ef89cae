// Scratch: a header that climbs out of its folder.
#pragma once

#include "../app/command_ids.h"
