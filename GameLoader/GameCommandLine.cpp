#include "GameCommandLine.h"

namespace {

struct GamePiece {
    const wchar_t* prefix;
    std::wstring LaunchParams::*value;
    bool evenWhenEmpty;
};

// The game's "--winid=" carries the game manager's window, not the platform client's.
constexpr GamePiece GamePieces[] = {
    {L"--source=", &LaunchParams::source, true},    {L"--tokenLogin=", &LaunchParams::tokenLogin, false},
    {L"--token=", &LaunchParams::token, false},     {L"--qvext=", &LaunchParams::qvext, false},
    {L"--winid=", &LaunchParams::gameMgrId, false}, {L"--typeMode=", &LaunchParams::typeMode, false},
};

bool NeedsQuotes(const std::wstring& piece)
{
    return piece.empty() || piece.find_first_of(L" \t\n\v\r\"") != std::wstring::npos;
}

} // namespace

std::wstring QuoteCommandLinePiece(const std::wstring& piece)
{
    if (!NeedsQuotes(piece))
        return piece;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (const wchar_t c : piece) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are literal unless a quote follows them; before a quote they pair up.
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring BuildGameCommandLine(const LaunchParams& params)
{
    std::wstring commandLine;
    for (const GamePiece& piece : GamePieces) {
        const std::wstring& value = params.*piece.value;
        if (value.empty() && !piece.evenWhenEmpty)
            continue;
        if (!commandLine.empty())
            commandLine += L' ';
        commandLine += QuoteCommandLinePiece(piece.prefix + value);
    }
    return commandLine;
}
