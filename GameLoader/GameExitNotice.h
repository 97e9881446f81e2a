#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

// The record the platform client's window receives, with WM_COPYDATA, when the
// game has ended or the launcher closes on its behalf.
struct GameExitNotice {
    int32_t nHead;
    wchar_t szText[260];
    int32_t nTail;
};
// The receiver reads the record by this layout. Only Windows has a 2-byte wchar_t; the reader
// fuzz harnesses build this header natively on Linux, where the record is never sent.
#ifdef _WIN32
static_assert(sizeof(wchar_t) == 2);
static_assert(offsetof(GameExitNotice, nHead) == 0);
static_assert(offsetof(GameExitNotice, szText) == 4);
static_assert(offsetof(GameExitNotice, nTail) == 524);
static_assert(sizeof(GameExitNotice) == 528);
#endif

constexpr ULONG_PTR kGameExitNoticeKind = 1; // COPYDATASTRUCT::dwData

// nHead 1, text "1" followed by zeros, nTail 1.
GameExitNotice MakeGameExitNotice();

// Sends the notice and waits until the window has handled it; the result is of no interest.
void SendGameExitNotice(HWND target);

// True when commandText is a game-exit notice (type 1); the notice has then been
// relayed to the window named by "qvwindowid" in the client settings file, if possible.
bool IsGameExit(const std::wstring& commandText);
