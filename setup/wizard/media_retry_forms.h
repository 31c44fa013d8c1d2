// The three questions a failed web-media download or extraction asks: retry the extraction or
// download afresh, retry the download (resuming or not), or retry it through a proxy. Each is a
// small modal form made for one question, its texts from the setup messages when it is shown; the
// first two answer themselves after a minute.
#pragma once

#include <cstdint>
#include <string>

#include "setup/engine/media/media_prompts.h"
#include "setup/engine/script/setup_messages.h"
#include "setup/forms/class_info.h"
#include "setup/ui/containers.h"
#include "setup/ui/form.h"
#include "setup/ui/skin/glyph_buttons.h"
#include "setup/ui/std_controls.h"
#include "setup/ui/timer.h"

namespace setup::wizard {

struct DialogRuntime;

inline constexpr std::uint32_t kRetryFormTimeoutMs = 60000;

// White, Tahoma 8 point, a dialog frame centred on the window that owns it.
class TRetryForm : public ui::TForm
{
public:
    FORMS_CLASS_INFO()
    TRetryForm(ui::TApplication& application, const engine::SetupMessages& messages,
               std::uintptr_t ownerWindow);
    ~TRetryForm() override;

    // True once the timer, not a person, gave the answer.
    bool answeredByTimer = false;

protected:
    ui::TLabel* AddLabel(int top, int height);
    ui::skin::TSkRadioButton* AddRadio(int top);
    ui::TButton* AddButton(int left, int top, std::int32_t result);
    const engine::SetupMessages& m_messages;
};

// A question with two choices, OK and Cancel, that answers itself after a minute unanswered.
class TTimedChoiceForm : public TRetryForm
{
public:
    FORMS_CLASS_INFO()
    TTimedChoiceForm(ui::TApplication& application, const engine::SetupMessages& messages,
                     std::uintptr_t ownerWindow, int clientHeight, int firstChoiceTop);

    void FormHide(forms::TObject* sender);

    ui::TLabel* question;
    ui::TLabel* note;
    ui::skin::TSkRadioButton* firstChoice;
    ui::skin::TSkRadioButton* secondChoice;
    ui::TButton* ok;
    ui::TButton* cancel;
    ui::TTimer* timer;

protected:
    // The texts by their message numbers, then the timer started.
    void ShowTexts(int caption, int questionText, int first, int second, int noteText);
    void AnswerByTimer();
};

class TqbrExtract : public TTimedChoiceForm
{
public:
    FORMS_CLASS_INFO()
    TqbrExtract(ui::TApplication& application, const engine::SetupMessages& messages,
                std::uintptr_t ownerWindow = 0);

    void FormShow(forms::TObject* sender);
    // Picks a fresh download.
    void TimerTimer(forms::TObject* sender);

    ui::skin::TSkRadioButton* download;
    ui::skin::TSkRadioButton* extract;
};

class TqbrProxyEx : public TTimedChoiceForm
{
public:
    FORMS_CLASS_INFO()
    TqbrProxyEx(ui::TApplication& application, const engine::SetupMessages& messages,
                std::uintptr_t ownerWindow = 0);

    void FormShow(forms::TObject* sender);
    // Keeps the choice on screen.
    void TimerTimer(forms::TObject* sender);

    ui::TLabel* choose;
    ui::skin::TSkRadioButton* resume;
    ui::skin::TSkRadioButton* newCopy;
};

class TqbrProxy : public TRetryForm
{
public:
    FORMS_CLASS_INFO()
    TqbrProxy(ui::TApplication& application, const engine::SetupMessages& messages,
              std::uintptr_t ownerWindow = 0);

    void FormShow(forms::TObject* sender);

    ui::TLabel* question;
    ui::TGroupBox* group;
    ui::TLabel* note;
    ui::TEdit* server;
    ui::TEdit* port;
    ui::TEdit* user;
    ui::TEdit* password;
    ui::TLabel* serverLabel;
    ui::TLabel* portLabel;
    ui::TLabel* userLabel;
    ui::TLabel* passwordLabel;
    ui::TButton* yes;
    ui::TButton* no;
};

// The questions asked with the forms, owned by the page on screen.
class PageMediaPrompts final : public engine::IMediaPrompts
{
public:
    explicit PageMediaPrompts(DialogRuntime& runtime) : m_runtime(runtime) {}

    engine::DownloadAnswer AskDownloadRetry() override;
    bool AskProxy(engine::ProxySettings& proxy) override;
    engine::ExtractAnswer AskExtractRetry() override;

private:
    std::uintptr_t OwnerWindow() const;

    DialogRuntime& m_runtime;
};

}  // namespace setup::wizard
