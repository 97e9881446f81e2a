#pragma once

#include <windows.h>

#include <memory>
#include <string>

// Hands the page's open-game request text from the script bridge to the main window.
// WM_LOADER_OPEN_GAME carries a pointer in wParam, and any program on the desktop can post that
// number to a top-level window; the receiver accepts only pointers this registry gave out and
// has not handed over yet, so a foreign wParam is never read or freed.
class OpenGameRequests {
public:
    // Posts message to window with a new string holding request as wParam. False when the post
    // fails (the string is freed) or when too many requests are already waiting.
    static bool Post(HWND window, UINT message, std::string request);

    // The request posted as wParam, now owned by the caller; null for anything else.
    static std::unique_ptr<std::string> Take(WPARAM wParam);

    // Requests posted and not taken yet.
    static size_t Pending();

    // The page may call far faster than the window takes requests; only the first one starts the game.
    static constexpr size_t MaxPending = 16;
};
