// Fixture of the layer check: the platform layer must not use the data layer.
#pragma once
#include "data/Globals.h"
