#pragma once

#include <string>

// Where the game's executable is expected: the folder of the game's uninstall entry, or the
// launcher's own folder when there is no entry, followed by "<game id>.exe".
std::wstring GameExePathFor(const std::wstring& gameId);
