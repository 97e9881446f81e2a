#include "OpenGameRequests.h"

#include <map>
#include <mutex>

namespace {

struct Registry {
    std::mutex mutex;
    std::map<WPARAM, std::unique_ptr<std::string>> pending;
};

// Requests still queued when the process ends are freed with the registry.
Registry& Requests()
{
    static Registry registry;
    return registry;
}

} // namespace

bool OpenGameRequests::Post(HWND window, UINT message, std::string request)
{
    Registry& registry = Requests();
    auto owned = std::make_unique<std::string>(std::move(request));
    const auto key = reinterpret_cast<WPARAM>(owned.get());
    {
        const std::lock_guard<std::mutex> lock(registry.mutex);
        if (registry.pending.size() >= MaxPending)
            return false;
        registry.pending.emplace(key, std::move(owned));
    }
    if (PostMessageW(window, message, key, 0))
        return true;
    Take(key);
    return false;
}

std::unique_ptr<std::string> OpenGameRequests::Take(WPARAM wParam)
{
    Registry& registry = Requests();
    const std::lock_guard<std::mutex> lock(registry.mutex);
    const auto found = registry.pending.find(wParam);
    if (found == registry.pending.end())
        return nullptr;
    std::unique_ptr<std::string> request = std::move(found->second);
    registry.pending.erase(found);
    return request;
}

size_t OpenGameRequests::Pending()
{
    Registry& registry = Requests();
    const std::lock_guard<std::mutex> lock(registry.mutex);
    return registry.pending.size();
}
