// LINK and BGSOUND, which style or accompany the document rather than show in it, and the count of
// the document's links that decides whether links take keyboard tab stops.
#pragma once

#include <string>
#include <string_view>

#include "setup/htmlview/builder/builder_hooks.h"
#include "setup/htmlview/parser/attributes.h"
#include "setup/htmlview/parser/css_reader.h"
#include "setup/htmlview/util/platform.h"

namespace htmlview {

// LINK: the sheet of a REL=stylesheet link is read into `sheet`; a sheet that cannot be loaded
// or read is skipped. Then the link hook hears of the element.
void ReadLinkElement(const AttributeList& attributes, const BuilderHooks& hooks,
                     IStyleSheetTarget& sheet);

// A linked sheet's text as the sheet reader takes it: every line end one CR, tabs spaces.
std::string SheetTextForReading(std::string_view text);

// BGSOUND with a source: the sound hook plays it LOOP times (once without LOOP).
void ReadSoundElement(const AttributeList& attributes, const BuilderHooks& hooks);

// The A start tags with HREF in the document, counted up to `limit`; a document that cannot be
// read to its end counts what was read.
int CountLinks(const std::string& html, const ICodePages& codePages, int limit);

}  // namespace htmlview
