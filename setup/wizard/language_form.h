// TSetLanguage: the "Select Setup Language" dialog the setup shows at start when it offers
// translations. OK (modal result 1) takes the chosen language; Cancel (2) ends the setup.
#pragma once

#include <string>
#include <vector>

#include "setup/engine/interpreter/interpreter_host.h"
#include "setup/engine/script/setup_messages.h"
#include "setup/ui/form.h"
#include "setup/ui/graphic_controls.h"
#include "setup/ui/list_controls.h"
#include "setup/ui/std_controls.h"

namespace setup::wizard {

struct WindowsVersion
{
    int major = 0;
    int minor = 0;
};

class TSetLanguage : public ui::TForm
{
public:
    FORMS_CLASS_INFO()
    TSetLanguage(ui::TApplication& application, const engine::SetupMessages& messages,
                 WindowsVersion version);
    ~TSetLanguage() override;

    void FormCreate(forms::TObject* sender);
    void FormShow(forms::TObject* sender);

    ui::TLabel* label1 = nullptr;
    // The dialog's icon for Windows XP and later, and for older Windows.
    ui::TImage* image1 = nullptr;
    ui::TImage* image2 = nullptr;
    ui::TComboBox* langCombo = nullptr;
    ui::TBitBtn* bitBtn1 = nullptr;
    ui::TBitBtn* bitBtn2 = nullptr;

private:
    ui::TApplication& m_application;
    const engine::SetupMessages& m_messages;
    WindowsVersion m_version;
};

// Shows the dialog modally with the languages, the preselected one chosen; the answer's index is
// the entry chosen (the preselected one when the list had no choice).
engine::LanguageChoice ShowLanguageForm(ui::TApplication& application,
                                        const engine::SetupMessages& messages,
                                        WindowsVersion version,
                                        const std::vector<std::string>& entries, int preselected);

}  // namespace setup::wizard
