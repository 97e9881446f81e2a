#include "GameCommandLine.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <iterator>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// What the game sees: its own command line split by CommandLineToArgvW, program path dropped.
std::vector<std::wstring> SplitAsTheGame(const std::wstring& parameters)
{
    const std::wstring commandLine = L"\"C:\\Games\\wxlm\\wxlm.exe\" " + parameters;
    int count = 0;
    const std::unique_ptr<LPWSTR, decltype(&LocalFree)> arguments(CommandLineToArgvW(commandLine.c_str(), &count),
                                                                  &LocalFree);
    EXPECT_TRUE(arguments);
    if (!arguments)
        return {};
    return std::vector<std::wstring>(arguments.get() + 1, arguments.get() + count);
}

// The pieces the game must get back, written from the rule, not from the builder.
std::vector<std::wstring> ExpectedPieces(const LaunchParams& params)
{
    std::vector<std::wstring> pieces = {L"--source=" + params.source};
    const std::pair<const wchar_t*, const std::wstring*> optional[] = {
        {L"--tokenLogin=", &params.tokenLogin}, {L"--token=", &params.token},       {L"--qvext=", &params.qvext},
        {L"--winid=", &params.gameMgrId},       {L"--typeMode=", &params.typeMode},
    };
    for (const auto& [prefix, value] : optional) {
        if (!value->empty())
            pieces.push_back(prefix + *value);
    }
    return pieces;
}

struct CommandLineCase {
    LaunchParams params;
    std::wstring commandLine;
};

LaunchParams Params(std::wstring source, std::wstring tokenLogin, std::wstring token, std::wstring qvext,
                    std::wstring gameMgrId, std::wstring typeMode, std::wstring winid = {})
{
    LaunchParams params;
    params.source = std::move(source);
    params.tokenLogin = std::move(tokenLogin);
    params.token = std::move(token);
    params.qvext = std::move(qvext);
    params.gameMgrId = std::move(gameMgrId);
    params.typeMode = std::move(typeMode);
    params.winid = std::move(winid);
    return params;
}

TEST(GameCommandLineTest, PiecesInTheirOrderAndPlainValuesUnchanged)
{
    const CommandLineCase cases[] = {
        {Params(L"", L"", L"", L"", L"", L""), L"--source="},
        {Params(L"QV", L"", L"tk123", L"", L"", L""), L"--source=QV --token=tk123"},
        {Params(L"QV", L"1", L"tk", L"ext", L"5566", L"1", L"1234"),
         L"--source=QV --tokenLogin=1 --token=tk --qvext=ext --winid=5566 --typeMode=1"},
        {Params(L"", L"", L"t", L"", L"", L"0"), L"--source= --token=t --typeMode=0"},
        // Backslashes, equals signs, ampersands and non-ASCII text need no quotes.
        {Params(L"a&b=c", L"", L"C:\\x\\", L"\x00e9\x6e38", L"", L""),
         L"--source=a&b=c --token=C:\\x\\ --qvext=\x00e9\x6e38"},
    };
    for (const CommandLineCase& c : cases)
        EXPECT_EQ(BuildGameCommandLine(c.params), c.commandLine);
}

TEST(GameCommandLineTest, TheLaunchersOwnWinidIsNotPassed)
{
    const std::wstring commandLine = BuildGameCommandLine(Params(L"QV", L"", L"t", L"", L"", L"", L"1234"));
    EXPECT_EQ(commandLine.find(L"1234"), std::wstring::npos) << commandLine;
}

TEST(GameCommandLineTest, PageValuesThatWouldInjectArgumentsAreQuoted)
{
    const CommandLineCase cases[] = {
        {Params(L"QV", L"", L"a b", L"", L"", L""), L"--source=QV \"--token=a b\""},
        {Params(L"QV", L"", L"x --typeMode=1", L"", L"", L""), L"--source=QV \"--token=x --typeMode=1\""},
        {Params(L"QV", L"", L"a\"b", L"", L"", L""), L"--source=QV \"--token=a\\\"b\""},
        {Params(L"QV", L"", L"t", L"tail\\ x\\", L"", L""), L"--source=QV --token=t \"--qvext=tail\\ x\\\\\""},
        {Params(L"QV", L"", L"t", L"q\\\\\"", L"", L""), L"--source=QV --token=t \"--qvext=q\\\\\\\\\\\"\""},
        {Params(L"Q\tV", L"", L"t", L"", L"", L""), L"\"--source=Q\tV\" --token=t"},
    };
    for (const CommandLineCase& c : cases) {
        EXPECT_EQ(BuildGameCommandLine(c.params), c.commandLine);
        EXPECT_EQ(SplitAsTheGame(BuildGameCommandLine(c.params)), ExpectedPieces(c.params)) << c.commandLine;
    }
}

TEST(GameCommandLineTest, QuotedPieceComesBackWhole)
{
    const std::wstring pieces[] = {
        L"",      L" ",         L"\"",    L"\\",   L"\\\"",    L"\"\"",       L"\"\"\"", L"a\"\"b",
        L"\\\\ ", L"x\\\\\\\"", L" \\\\", L"\t\t", L"\"a b\"", L"a\\\"\\\"b", L"\n",     L"\x6e38 \x00e9",
    };
    for (const std::wstring& piece : pieces) {
        const std::vector<std::wstring> back = SplitAsTheGame(QuoteCommandLinePiece(piece));
        ASSERT_EQ(back.size(), 1u) << QuoteCommandLinePiece(piece).size();
        EXPECT_EQ(back[0], piece);
    }
}

// Values drawn from the characters that matter to CommandLineToArgvW, in runs, so that runs of
// backslashes meet quotes, blanks and the end of the value.
class ValueGenerator {
public:
    explicit ValueGenerator(unsigned seed) : m_random(seed) {}

    std::wstring Next()
    {
        static const std::wstring atoms[] = {
            L" ",  L"\t", L"\"", L"\\",     L"\\\\",   L"\\\\\\",       L"a",    L"Z9",   L"=",
            L"--", L"&",  L"\n", L"\x00e9", L"\x6e38", L"\xd83d\xde00", L"\"\"", L"\\\"", L"'",
        };
        std::uniform_int_distribution<int> length(0, 9);
        std::uniform_int_distribution<size_t> atom(0, std::size(atoms) - 1);
        std::wstring value;
        for (int n = length(m_random); n > 0; --n)
            value += atoms[atom(m_random)];
        return value;
    }

private:
    std::mt19937 m_random;
};

TEST(GameCommandLineTest, EveryGeneratedValueReachesTheGameAsItsOwnArgument)
{
    ValueGenerator values(20261210);
    for (int round = 0; round < 3000; ++round) {
        const LaunchParams params =
            Params(values.Next(), values.Next(), values.Next(), values.Next(), values.Next(), values.Next());
        const std::wstring commandLine = BuildGameCommandLine(params);
        ASSERT_EQ(SplitAsTheGame(commandLine), ExpectedPieces(params)) << "round " << round;
    }
}

TEST(GameCommandLineTest, EveryGeneratedPieceRoundTripsAlone)
{
    ValueGenerator values(7);
    for (int round = 0; round < 3000; ++round) {
        const std::wstring piece = values.Next();
        const std::wstring quoted = QuoteCommandLinePiece(piece);
        const std::vector<std::wstring> back = SplitAsTheGame(quoted + L" next");
        ASSERT_EQ(back, (std::vector<std::wstring>{piece, L"next"})) << "round " << round;
        if (piece.find_first_of(L" \t\n\v\r\"") == std::wstring::npos && !piece.empty()) {
            ASSERT_EQ(quoted, piece) << "round " << round;
        }
    }
}

} // namespace
