#include "setup/wizard/language_form.h"

#include "setup/forms/class_builder.h"
#include "setup/ui/application.h"

namespace setup::wizard {

using forms::ClassBuilder;
using forms::ClassInfo;

namespace {

constexpr int kCaptionMessage = 89;
constexpr int kPromptMessage = 90;
constexpr int kOkMessage = 38;
constexpr int kCancelMessage = 39;

ui::TBitBtn* MakeButton(TSetLanguage& form, const char* name, const char* caption, int left,
                        std::int32_t result)
{
    auto* button = new ui::TBitBtn(&form);
    button->SetName(name);
    button->SetParent(&form);
    button->SetCaption(caption);
    button->SetBounds(left, 88, 75, 25);
    button->modalResult = result;
    button->SetTabOrder(result);
    return button;
}

}  // namespace

const ClassInfo& TSetLanguage::StaticClass()
{
    static const ClassInfo info = ClassBuilder<TSetLanguage>("TSetLanguage", &ui::TForm::StaticClass())
                                      .Method("FormCreate", &TSetLanguage::FormCreate)
                                      .Method("FormShow", &TSetLanguage::FormShow)
                                      .Build();
    return info;
}

TSetLanguage::TSetLanguage(ui::TApplication& application, const engine::SetupMessages& messages,
                           WindowsVersion version)
    : ui::TForm(nullptr), m_application(application), m_messages(messages), m_version(version)
{
    SetName("SetLanguage");
    SetCaption("Select Setup Language");
    SetBorderStyle(ui::TFormBorderStyle::bsDialog);
    SetClientWidth(241);
    SetClientHeight(127);
    Font()->SetName("Tahoma");
    Font()->SetHeight(-11);
    SetPosition(ui::TPosition::poScreenCenter);
    application.AddForm(*this);

    label1 = new ui::TLabel(this);
    label1->SetName("Label1");
    label1->SetParent(this);
    label1->autoSize = false;
    label1->wordWrap = true;
    label1->SetBounds(56, 16, 169, 33);
    label1->SetCaption("Please select the language to use during the installation:");
    image1 = new ui::TImage(this);
    image1->SetName("Image1");
    image1->SetParent(this);
    image1->SetBounds(16, 16, 32, 32);
    image2 = new ui::TImage(this);
    image2->SetName("Image2");
    image2->SetParent(this);
    image2->SetBounds(16, 16, 32, 32);
    langCombo = new ui::TComboBox(this);
    langCombo->SetName("LangCombo");
    langCombo->SetParent(this);
    langCombo->SetStyle(ui::csDropDownList);
    langCombo->SetBounds(56, 56, 169, langCombo->Height());
    langCombo->SetTabOrder(0);
    bitBtn1 = MakeButton(*this, "BitBtn1", "OK", 72, ui::mrOk);
    bitBtn1->SetDefault(true);
    bitBtn2 = MakeButton(*this, "BitBtn2", "Cancel", 152, ui::mrCancel);
    bitBtn2->cancel = true;

    onCreate = forms::PublishedHandler<forms::TNotifyEvent>(*this, "FormCreate");
    onShow = forms::PublishedHandler<forms::TNotifyEvent>(*this, "FormShow");
    onCreate(this);
}

TSetLanguage::~TSetLanguage()
{
    m_application.RemoveForm(*this);
}

void TSetLanguage::FormCreate(forms::TObject*)
{
    const bool xpOrLater = m_version.major > 5 || (m_version.major == 5 && m_version.minor > 0);
    image1->SetVisible(xpOrLater);
    image2->SetVisible(!xpOrLater);
}

void TSetLanguage::FormShow(forms::TObject*)
{
    SetCaption(m_messages.Text(kCaptionMessage));
    label1->SetCaption(m_messages.Text(kPromptMessage));
    bitBtn1->SetCaption(m_messages.Text(kOkMessage));
    bitBtn2->SetCaption(m_messages.Text(kCancelMessage));
}

engine::LanguageChoice ShowLanguageForm(ui::TApplication& application,
                                        const engine::SetupMessages& messages,
                                        WindowsVersion version,
                                        const std::vector<std::string>& entries, int preselected)
{
    TSetLanguage form(application, messages, version);
    for (const std::string& entry : entries)
        form.langCombo->Items()->Add(entry);
    form.langCombo->SetItemIndex(preselected);
    engine::LanguageChoice choice;
    choice.modalResult = form.ShowModal();
    choice.index = form.langCombo->ItemIndex() >= 0 ? form.langCombo->ItemIndex() : preselected;
    return choice;
}

}  // namespace setup::wizard
