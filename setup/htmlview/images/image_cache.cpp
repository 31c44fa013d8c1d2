#include "setup/htmlview/images/image_cache.h"

namespace htmlview {

void ImageCache::Add(const std::string& key, CachedImage item)
{
    item.uses += 1;
    m_items[key] = std::move(item);
}

const CachedImage* ImageCache::Take(const std::string& key)
{
    const auto it = m_items.find(key);
    if (it == m_items.end())
        return nullptr;
    it->second.idle = 0;
    it->second.uses += 1;
    return &it->second;
}

void ImageCache::Release(const std::string& key)
{
    const auto it = m_items.find(key);
    if (it != m_items.end())
        it->second.uses -= 1;
}

void ImageCache::Age()
{
    for (auto it = m_items.begin(); it != m_items.end();) {
        it->second.idle += 1;
        if (it->second.idle > m_limit && it->second.uses < 1)
            it = m_items.erase(it);
        else
            ++it;
    }
}

void ImageCache::SetLimit(int limit)
{
    for (auto it = m_items.begin(); it != m_items.end();) {
        if (it->second.idle > limit && it->second.uses <= 0)
            it = m_items.erase(it);
        else
            ++it;
    }
    m_limit = limit;
}

}  // namespace htmlview
