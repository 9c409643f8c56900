// The letter-case helpers live in platform/ascii_case.h; this name is kept for the files that
// still include it.
#pragma once

#include "platform/ascii_case.h"
