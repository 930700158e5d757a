#pragma once
// An angle-bracket include against the direction of the layers.
#include <ui/Grid_Output.h>
