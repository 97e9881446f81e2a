#include "core/ImageComposites.h"

#include "core/DibSection.h"

#include <algorithm>
#include <deque>
#include <list>
#include <memory>

namespace Tarvo {

namespace {

bool SameRect(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool SameKey(const UICompositeKey& a, const UICompositeKey& b)
{
    return a.hBitmap == b.hBitmap && a.size.cx == b.size.cx && a.size.cy == b.size.cy &&
           SameRect(a.source, b.source) && SameRect(a.corner, b.corner) && a.bHole == b.bHole &&
           a.bXTiled == b.bXTiled && a.bYTiled == b.bYTiled && a.bAlpha == b.bAlpha;
}

size_t BytesOf(const UICompositeKey& key)
{
    return static_cast<size_t>(key.size.cx) * static_cast<size_t>(key.size.cy) * 4;
}

struct Composite {
    UICompositeKey key;
    std::unique_ptr<CDibSectionUI> dib;
};

// Per thread: GDI objects and paints belong to the window thread that made them.
struct Store {
    static constexpr size_t SeenCapacity = 64;

    std::list<Composite> composites; // most recently used first
    std::deque<UICompositeKey> seen; // asked for once, not composed
    size_t bytes = 0;

    std::list<Composite>::iterator Find(const UICompositeKey& key)
    {
        return std::find_if(composites.begin(), composites.end(),
                            [&](const Composite& c) { return SameKey(c.key, key); });
    }

    // True the first time a key is seen (it is remembered), false from the second time on.
    bool FirstSight(const UICompositeKey& key)
    {
        const auto it = std::find_if(seen.begin(), seen.end(), [&](const UICompositeKey& k) { return SameKey(k, key); });
        if (it != seen.end()) {
            seen.erase(it);
            return false;
        }
        if (seen.size() == SeenCapacity) {
            seen.pop_front();
        }
        seen.push_back(key);
        return true;
    }

    void MakeRoom(size_t wanted)
    {
        while (!composites.empty() && bytes + wanted > CImageCompositesUI::BudgetBytes) {
            bytes -= BytesOf(composites.back().key);
            composites.pop_back();
        }
    }

    void Erase(std::list<Composite>::iterator it)
    {
        bytes -= BytesOf(it->key);
        composites.erase(it);
    }
};

Store& ThreadStore()
{
    thread_local Store store;
    return store;
}

} // namespace

HDC CImageCompositesUI::Find(const UICompositeKey& key, HDC hCompatibleDC, const std::function<void(HDC)>& compose)
{
    if (key.hBitmap == nullptr || key.size.cx <= 0 || key.size.cy <= 0 || BytesOf(key) > BudgetBytes) {
        return nullptr;
    }
    Store& store = ThreadStore();
    const auto it = store.Find(key);
    if (it != store.composites.end()) {
        store.composites.splice(store.composites.begin(), store.composites, it);
        return it->dib->DC();
    }
    if (store.FirstSight(key)) {
        return nullptr;
    }
    auto dib = std::make_unique<CDibSectionUI>();
    store.MakeRoom(BytesOf(key));
    if (!dib->Create(key.size.cx, key.size.cy, hCompatibleDC)) {
        return nullptr;
    }
    compose(dib->DC());
    store.bytes += BytesOf(key);
    store.composites.push_front({key, std::move(dib)});
    return store.composites.front().dib->DC();
}

void CImageCompositesUI::ForgetBitmap(HBITMAP hBitmap)
{
    Store& store = ThreadStore();
    for (auto it = store.composites.begin(); it != store.composites.end();) {
        const auto next = std::next(it);
        if (it->key.hBitmap == hBitmap) {
            store.Erase(it);
        }
        it = next;
    }
    std::erase_if(store.seen, [&](const UICompositeKey& key) { return key.hBitmap == hBitmap; });
}

void CImageCompositesUI::ForgetAll()
{
    Store& store = ThreadStore();
    store.composites.clear();
    store.seen.clear();
    store.bytes = 0;
}

size_t CImageCompositesUI::BytesHeld()
{
    return ThreadStore().bytes;
}

int CImageCompositesUI::Count()
{
    return static_cast<int>(ThreadStore().composites.size());
}

} // namespace Tarvo
