#pragma once

#include "LaunchParams.h"

#include <string>

// The game's command line: "--source=" and the other launch parameters as "--name=value" pieces
// joined by one blank. The values come partly from the portal page, and the game runs elevated,
// so every piece is written such that CommandLineToArgvW in the game gives it back as exactly
// one argument; a piece without blanks, tabs, line breaks or quotes is written unchanged.
std::wstring BuildGameCommandLine(const LaunchParams& params);

// One piece as CommandLineToArgvW reads it back whole: unchanged when nothing in it needs
// quoting, else in quotes with the backslashes before each quote (and before the closing one)
// doubled and each quote escaped. The empty piece is "".
std::wstring QuoteCommandLinePiece(const std::wstring& piece);
