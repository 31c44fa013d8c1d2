// Binding a page to the script's variables: before a page is shown every control takes its text
// template expanded, the value of the variable its Hint names and its Tag role, and the page's
// handlers are attached; when the page is left they are detached again.
#pragma once

#include <string>

#include "setup/ui/control.h"

namespace setup::wizard {

struct DialogRuntime;

void PrepareDialog(DialogRuntime& runtime, const std::string& key);
void ReleaseDialog(DialogRuntime& runtime, const std::string& key);

// The text templates: recorded on a page's first preparation and never replaced.
void RecordDialogText(DialogRuntime& runtime, const std::string& dialog,
                      const std::string& control, const std::string& text);
std::string GetDialogText(const DialogRuntime& runtime, const std::string& dialog,
                          const std::string& control);
// The translation of the run's language, else the recorded template.
std::string GetTranslatedDialogText(const DialogRuntime& runtime, const std::string& dialog,
                                    const std::string& control);
// The control's caption from its template expanded with the variables of now.
void RefreshCaption(DialogRuntime& runtime, ui::TControl& control, const std::string& dialog);

}  // namespace setup::wizard
