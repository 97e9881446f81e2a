// The page bridge's request entry: any text gives "{}"; a known request posts its message, and
// an open-game request hands over exactly the page's text.
#include "FuzzText.h"
#include "CallCppFunc.h"
#include "Common.h"
#include "LoaderMessages.h"
#include "OpenGameRequests.h"

#include <port/include/wxlm_port.h>

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring text = FuzzWideText(data, size);
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x1234));
    if (CallCppFunc(window, text) != L"{}") {
        std::fprintf(stderr, "the reply is not {}\n");
        std::abort();
    }
    wxlm_port::PostedMessage posted[4];
    const size_t count = wxlm_port::TakePosted(posted, 4);
    for (size_t i = 0; i < count; ++i) {
        if (posted[i].message != WM_LOADER_OPEN_GAME)
            continue;
        const std::unique_ptr<std::string> request = OpenGameRequests::Take(posted[i].wParam);
        if (!request || *request != WideToMulti(text, CP_ACP)) {
            std::fprintf(stderr, "the open-game request does not carry the page's text\n");
            std::abort();
        }
    }
    if (count > 1 || OpenGameRequests::Pending() != 0) {
        std::fprintf(stderr, "one request posted %zu messages\n", count);
        std::abort();
    }
    return 0;
}
