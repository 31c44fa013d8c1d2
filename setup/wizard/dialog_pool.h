// The pool of wizard pages: every page loaded once at start-up under its key, shown modally (the
// script waits for a result) or not (the page stays while the script goes on), placed where the
// previous page of its size was, and handed over so the new page is up before the old one goes.
#pragma once

#include <cstdint>
#include <string>

#include "setup/ui/form.h"

namespace setup::wizard {

struct DialogRuntime;
class ProgressRuntime;
class TPoolTemplate;

void InitDialogPool(DialogRuntime& runtime, const std::string& supportFolder);
// Loads (or reloads) the page of a key with its rules file (the page file followed by ".qbrf");
// raises when either cannot be read.
TPoolTemplate& LoadDialog(DialogRuntime& runtime, const std::string& key,
                          const std::string& pageFile);
// Keys ignore letter case; none for a key never loaded.
TPoolTemplate* FindDialog(const DialogRuntime& runtime, const std::string& key);

struct ShownDialog
{
    // Modal: the page's result (6 next, 7 back, 2 cancel, 8 named, 1 installer finished);
    // silent: 6; non-modal: 0 with the page's window.
    std::int32_t result = 0;
    std::string resultText;  // the control's name for result 8
    std::uintptr_t window = 0;
};
ShownDialog ShowDialog(DialogRuntime& runtime, const std::string& key, bool modal,
                       bool startInstaller);
// Hides the active page and the page of the key (a key of no page hides the active one only).
void HideDialog(DialogRuntime& runtime, const std::string& key);
void FreeDialogPool(DialogRuntime& runtime);
// Hands the run's progress display to the pages (none takes it away); the pages' poll cycles start
// afresh with it.
void AttachProgress(DialogRuntime& runtime, ProgressRuntime* progress);
bool IsGlassActive(DialogRuntime& runtime, ui::TCustomForm& form);

}  // namespace setup::wizard
