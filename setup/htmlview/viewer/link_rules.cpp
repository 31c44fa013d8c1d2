#include "setup/htmlview/viewer/link_rules.h"

#include <algorithm>
#include <charconv>

#include "setup/htmlview/util/reference_path.h"
#include "setup/htmlview/util/text.h"

namespace htmlview {

std::optional<MetaRefresh> ParseMetaRefresh(std::string_view httpEquiv, std::string_view content)
{
    if (!EqualsNoCase(Trim(httpEquiv), "refresh"))
        return std::nullopt;
    const std::string_view delayText = Trim(content.substr(0, content.find(';')));
    int delay = -1;
    const auto [end, error] =
        std::from_chars(delayText.data(), delayText.data() + delayText.size(), delay);
    if (error != std::errc() || end != delayText.data() + delayText.size() || delay < 0)
        return std::nullopt;
    MetaRefresh refresh;
    refresh.delay = std::max(delay, 1);
    const std::string lower = LowerAscii(content);
    if (const auto at = lower.find("url="); at != std::string::npos)
        refresh.url = std::string(content.substr(at + 4));
    return refresh;
}

std::string FolderOf(std::string_view path)
{
    const auto slash = path.find_last_of("\\/:");
    return slash == std::string_view::npos ? std::string() : std::string(path.substr(0, slash + 1));
}

NameAndAnchor SplitAnchor(std::string_view reference)
{
    const auto hash = reference.find('#');
    if (hash == std::string_view::npos)
        return {std::string(reference), {}};
    return {std::string(reference.substr(0, hash)), std::string(reference.substr(hash + 1))};
}

LinkKind KindOfLinkPath(std::string_view path)
{
    const auto dot = path.find_last_of(".\\/:");
    if (dot == std::string_view::npos || path[dot] != '.')
        return LinkKind::Other;
    const std::string extension = UpperAscii(path.substr(dot, 5));
    if (extension == ".HTM" || extension == ".HTML")
        return LinkKind::Page;
    if (extension == ".BMP" || extension == ".GIF" || extension == ".JPG" || extension == ".JPEG" ||
        extension == ".PNG")
        return LinkKind::Image;
    return LinkKind::Other;
}

std::string ExpandReference(std::string_view reference, const ReferenceContext& context)
{
    const auto scheme = reference.find("://");
    if (scheme != std::string_view::npos && scheme > 0 &&
        LowerAscii(reference).find("file://") == std::string::npos)
        return std::string(reference);
    std::string result = ReferenceToServerPath(Trim(reference), context.serverRoot);
    const auto full = [&](const std::string& path) {
        return context.fullPath ? context.fullPath(path) : path;
    };
    const bool rooted = !result.empty() && result[0] == '\\';
    const bool unc = result.size() > 1 && result[0] == '\\' && result[1] == '\\';
    if (rooted && !unc)
        return full(result);
    if ((result.size() > 1 && result[1] == ':') || unc || EqualsNoCase(context.base, "DosPath"))
        return result;
    if (!context.base.empty())
        return full(FolderOf(ReferenceToPath(context.base)) + result);
    return full(FolderOf(context.currentFile) + result);
}

void VisitedList::SetMaxCount(int count)
{
    m_max = std::max(count, 0);
    if (m_urls.size() > static_cast<std::size_t>(m_max))
        m_urls.resize(m_max);
}

bool VisitedList::Contains(std::string_view url) const
{
    return std::any_of(m_urls.begin(), m_urls.end(),
                       [&](const std::string& known) { return EqualsNoCase(known, url); });
}

bool VisitedList::Remember(const std::string& url)
{
    if (m_max <= 0)
        return false;
    const auto found = std::find_if(m_urls.begin(), m_urls.end(), [&](const std::string& known) {
        return EqualsNoCase(known, url);
    });
    if (found == m_urls.begin() && found != m_urls.end())
        return false;
    const bool isNew = found == m_urls.end();
    if (!isNew)
        m_urls.erase(found);
    m_urls.insert(m_urls.begin(), url);
    if (m_urls.size() > static_cast<std::size_t>(m_max))
        m_urls.resize(m_max);
    return isNew;
}

void PageHistory::SetMaxCount(int count)
{
    if (count < 0 || count == m_max)
        return;
    if (count < m_max)
        m_entries.clear();
    m_max = count;
}

bool PageHistory::Push(const Entry& left, const Entry& shown)
{
    if (m_max < 1 || shown.file.empty() ||
        (left.file == shown.file && left.kind == shown.kind && left.position == shown.position))
        return false;
    if (!m_entries.empty() && !left.file.empty()) {
        m_entries.front() = left;
        // What was typed is worth keeping only for a page that was left.
        if (left.file == shown.file)
            m_entries.front().formValues.clear();
    }
    m_entries.insert(m_entries.begin(), shown);
    if (m_entries.size() > static_cast<std::size_t>(m_max))
        m_entries.erase(m_entries.begin() + m_max);
    return true;
}

bool PageHistory::Reset()
{
    const bool had = !m_entries.empty();
    m_entries.clear();
    return had;
}

}  // namespace htmlview
