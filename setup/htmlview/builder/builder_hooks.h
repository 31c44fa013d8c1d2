// What the document builder asks of, and tells, the viewer that owns it: linked style sheets,
// LINK, META and background-sound elements. Every hook is optional.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace htmlview {

// A linked style sheet's text and the base its relative url() references resolve against.
struct LinkedSheet
{
    std::string text;
    std::string basePath;
};

struct BuilderHooks
{
    // The sheet a LINK REL=stylesheet names; none when it cannot be had.
    std::function<std::optional<LinkedSheet>(const std::string& href)> loadStyleSheet;
    // Every LINK element, after its sheet (if any) was read.
    std::function<void(const std::string& rel, const std::string& rev, const std::string& href)>
        onLink;
    // Every META element, after its content type took effect.
    std::function<void(const std::string& httpEquiv, const std::string& name,
                       const std::string& content)>
        onMeta;
    // A BGSOUND with a source: play it `loop` times (terminate: stop the sound playing).
    std::function<void(const std::string& source, int loop, bool terminate)> onSound;
    // A comment "<!--#command params-->": the text read in its place.
    std::function<std::string(const std::string& command, const std::vector<std::string>& params)>
        include;
    // A SCRIPT element's contents; without it they are skipped.
    std::function<void(const std::string& name, const std::string& language,
                       const std::string& script)>
        script;
    // Every 4096 bytes read: bytes so far and the source's length.
    std::function<void(std::size_t done, std::size_t total)> progress;
};

}  // namespace htmlview
