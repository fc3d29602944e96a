// The package-facing Tools API interfaces, from the same SDK header package authors get.
#pragma once

#include "korvel/BdsToolsInterop.h"
