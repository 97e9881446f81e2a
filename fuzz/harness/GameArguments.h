#pragma once

#include "LaunchParams.h"

// Builds the game's command line from params and splits it again as the game does; aborts when
// the arguments that come back are not exactly the "--name=value" pieces.
void CheckGameCommandLine(const LaunchParams& params);
