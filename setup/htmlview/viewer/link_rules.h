// The viewer's decisions about links and references: META refresh contents, where a reference
// points as a local file, what a followed link shows, and the visited links and page history.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "setup/htmlview/viewer/scroll_layout.h"

namespace htmlview {

struct MetaRefresh
{
    int delay = 0;  // seconds, at least 1
    std::string url;
};
// A META refresh's content "delay;url=..."; none for another META or a delay that is not a
// number or is negative.
std::optional<MetaRefresh> ParseMetaRefresh(std::string_view httpEquiv, std::string_view content);

// The folder part of a path or URL, with its trailing separator; empty without one.
std::string FolderOf(std::string_view path);

// A reference split at its first "#": the name before it and the anchor after it.
struct NameAndAnchor
{
    std::string name, anchor;
};
NameAndAnchor SplitAnchor(std::string_view reference);

enum class LinkKind
{
    Page,   // an HTML file
    Image,  // a picture shown as a page
    Other   // left alone
};
// By the extension, upper-cased and cut to five characters.
LinkKind KindOfLinkPath(std::string_view path);

// What a reference is resolved against.
struct ReferenceContext
{
    std::string base;         // the document's BASE, or empty
    std::string currentFile;  // the full path of the file shown
    std::string serverRoot;   // for references rooted at "\"
    // The full path of a path (relative to the process's current folder).
    std::function<std::string(const std::string&)> fullPath;
};
// A link or image reference as a full local path; a reference with a scheme other than a file
// is returned unchanged.
std::string ExpandReference(std::string_view reference, const ReferenceContext& context);

// Full URLs of visited links, most recent first, compared ignoring case.
class VisitedList
{
public:
    // Keeps at most `count` (negative counts as none).
    void SetMaxCount(int count);
    int MaxCount() const { return m_max; }
    // True when the URL was not in the list (its links become visited).
    bool Remember(const std::string& url);
    bool Contains(std::string_view url) const;
    const std::vector<std::string>& Urls() const { return m_urls; }
    void Clear() { m_urls.clear(); }

private:
    std::vector<std::string> m_urls;
    int m_max = 50;
};

// The documents shown before, newest first; entry 0 is the document shown now.
class PageHistory
{
public:
    struct Entry
    {
        std::string file, title;
        int kind = 0;  // 0 HTML, 1 plain text, 2 image
        ScrollAnchor position;
        // What its forms held when it was left, per form and control.
        std::vector<std::vector<std::string>> formValues;
    };
    void SetMaxCount(int count);
    int MaxCount() const { return m_max; }
    // Records the document just left (its file, title, kind and place) and the one now shown;
    // false when nothing was recorded.
    bool Push(const Entry& left, const Entry& shown);
    const std::vector<Entry>& Entries() const { return m_entries; }
    // True when there were entries.
    bool Reset();

private:
    std::vector<Entry> m_entries;
    int m_max = 0;
};

}  // namespace htmlview
