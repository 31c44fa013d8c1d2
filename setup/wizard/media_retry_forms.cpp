#include "setup/wizard/media_retry_forms.h"

#include "setup/forms/class_builder.h"
#include "setup/ui/application.h"
#include "setup/ui/graphics.h"
#include "setup/wizard/dialog_runtime.h"
#include "setup/wizard/pool_template.h"

namespace setup::wizard {

using forms::ClassBuilder;
using forms::ClassInfo;

namespace {

// The setup messages of the forms' texts.
enum Message : int
{
    kDownloadCaption = 25,
    kProxyQuestion = 26,
    kProxyGroup = 27,
    kProxyServer = 28,
    kProxyPort = 29,
    kProxyNote = 30,
    kYes = 31,
    kNo = 32,
    kExtractCaption = 33,
    kExtractQuestion = 34,
    kFreshDownload = 35,
    kExtractAgain = 36,
    kExtractNote = 37,
    kOk = 38,
    kCancel = 39,
    kProxyUser = 41,
    kProxyPassword = 42,
    kDownloadQuestion = 49,
    kWouldYouLike = 50,
    kResume = 51,
    kNewCopy = 52,
    kDownloadNote = 53,
};

constexpr int kClientWidth = 377;
constexpr int kMargin = 12;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;

template <class Form>
forms::TNotifyEvent Handler(Form& form, const char* name)
{
    forms::TNotifyEvent event;
    event.method = form.ClassType().FindMethod(name);
    event.data = &form;
    return event;
}


}  // namespace

const ClassInfo& TRetryForm::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TRetryForm>("TRetryForm", &ui::TForm::StaticClass()).Build();
    return info;
}

TRetryForm::TRetryForm(ui::TApplication& application, const engine::SetupMessages& messages,
                       std::uintptr_t ownerWindow)
    : ui::TForm(nullptr), m_messages(messages)
{
    SetBorderStyle(ui::TFormBorderStyle::bsDialog);
    SetPosition(ui::TPosition::poOwnerFormCenter);
    SetOwnerWindow(ownerWindow);
    SetColor(ui::clWhite);
    Font()->SetName("Tahoma");
    Font()->SetSize(8);
    SetClientWidth(kClientWidth);
    application.AddForm(*this);
}

TRetryForm::~TRetryForm() = default;

ui::TLabel* TRetryForm::AddLabel(int top, int height)
{
    auto* label = new ui::TLabel(this);
    label->SetParent(this);
    label->autoSize = false;
    label->wordWrap = true;
    label->SetBounds(kMargin, top, kClientWidth - 2 * kMargin, height);
    return label;
}

ui::skin::TSkRadioButton* TRetryForm::AddRadio(int top)
{
    auto* radio = new ui::skin::TSkRadioButton(this);
    radio->SetParent(this);
    radio->SetTransparent(true);
    radio->SetBounds(2 * kMargin, top, kClientWidth - 3 * kMargin, 17);
    return radio;
}

ui::TButton* TRetryForm::AddButton(int left, int top, std::int32_t result)
{
    auto* button = new ui::TButton(this);
    button->SetParent(this);
    button->SetBounds(left, top, kButtonWidth, kButtonHeight);
    button->modalResult = result;
    return button;
}

const ClassInfo& TTimedChoiceForm::StaticClass()
{
    static const ClassInfo info =
        ClassBuilder<TTimedChoiceForm>("TTimedChoiceForm", &TRetryForm::StaticClass()).Build();
    return info;
}

TTimedChoiceForm::TTimedChoiceForm(ui::TApplication& application,
                                   const engine::SetupMessages& messages,
                                   std::uintptr_t ownerWindow, int clientHeight,
                                   int firstChoiceTop)
    : TRetryForm(application, messages, ownerWindow)
{
    SetClientHeight(clientHeight);
    question = AddLabel(kMargin, 28);
    firstChoice = AddRadio(firstChoiceTop);
    secondChoice = AddRadio(firstChoiceTop + 22);
    note = AddLabel(firstChoiceTop + 50, 28);
    const int buttonTop = clientHeight - kMargin - kButtonHeight;
    ok = AddButton(kClientWidth - 2 * kButtonWidth - kMargin - 8, buttonTop, ui::mrOk);
    ok->SetDefault(true);
    cancel = AddButton(kClientWidth - kButtonWidth - kMargin, buttonTop, ui::mrCancel);
    cancel->cancel = true;
    timer = new ui::TTimer(this);
    timer->SetName("Timer");
    timer->SetEnabled(false);
    timer->SetInterval(kRetryFormTimeoutMs);
    firstChoice->SetChecked(true);
}

void TTimedChoiceForm::FormHide(forms::TObject*)
{
    timer->SetEnabled(false);
}

void TTimedChoiceForm::ShowTexts(int caption, int questionText, int first, int second,
                                 int noteText)
{
    SetCaption(m_messages.Text(caption));
    question->SetCaption(m_messages.Text(questionText));
    firstChoice->SetCaption(m_messages.Text(first));
    secondChoice->SetCaption(m_messages.Text(second));
    note->SetCaption(m_messages.Text(noteText));
    ok->SetCaption(m_messages.Text(kOk));
    cancel->SetCaption(m_messages.Text(kCancel));
    timer->SetEnabled(true);
}

void TTimedChoiceForm::AnswerByTimer()
{
    timer->SetEnabled(false);
    answeredByTimer = true;
    SetModalResult(ui::mrOk);
}

// The published handlers of a timed question, bound to its own events.
template <class Form>
void BindTimedHandlers(Form& form)
{
    form.timer->SetOnTimer(Handler(form, "TimerTimer"));
    form.onShow = Handler(form, "FormShow");
    form.onHide = Handler(form, "FormHide");
}

const ClassInfo& TqbrExtract::StaticClass()
{
    using F = TqbrExtract;
    static const ClassInfo info = ClassBuilder<F>("TqbrExtract", &TTimedChoiceForm::StaticClass())
                                      .Method("FormShow", &F::FormShow)
                                      .Method("FormHide", &F::FormHide)
                                      .Method("TimerTimer", &F::TimerTimer)
                                      .Build();
    return info;
}

TqbrExtract::TqbrExtract(ui::TApplication& application, const engine::SetupMessages& messages,
                         std::uintptr_t ownerWindow)
    : TTimedChoiceForm(application, messages, ownerWindow, 170, 48),
      download(firstChoice),
      extract(secondChoice)
{
    SetName("qbrExtract");
    BindTimedHandlers(*this);
}

void TqbrExtract::FormShow(forms::TObject*)
{
    ShowTexts(kExtractCaption, kExtractQuestion, kFreshDownload, kExtractAgain, kExtractNote);
}

void TqbrExtract::TimerTimer(forms::TObject*)
{
    download->SetChecked(true);
    AnswerByTimer();
}

const ClassInfo& TqbrProxyEx::StaticClass()
{
    using F = TqbrProxyEx;
    static const ClassInfo info = ClassBuilder<F>("TqbrProxyEx", &TTimedChoiceForm::StaticClass())
                                      .Method("FormShow", &F::FormShow)
                                      .Method("FormHide", &F::FormHide)
                                      .Method("TimerTimer", &F::TimerTimer)
                                      .Build();
    return info;
}

TqbrProxyEx::TqbrProxyEx(ui::TApplication& application, const engine::SetupMessages& messages,
                         std::uintptr_t ownerWindow)
    : TTimedChoiceForm(application, messages, ownerWindow, 190, 66),
      resume(firstChoice),
      newCopy(secondChoice)
{
    SetName("qbrProxyEx");
    choose = AddLabel(46, 14);
    BindTimedHandlers(*this);
}

void TqbrProxyEx::FormShow(forms::TObject*)
{
    ShowTexts(kDownloadCaption, kDownloadQuestion, kResume, kNewCopy, kDownloadNote);
    choose->SetCaption(m_messages.Text(kWouldYouLike));
}

void TqbrProxyEx::TimerTimer(forms::TObject*)
{
    AnswerByTimer();
}

const ClassInfo& TqbrProxy::StaticClass()
{
    using F = TqbrProxy;
    static const ClassInfo info = ClassBuilder<F>("TqbrProxy", &TRetryForm::StaticClass())
                                      .Method("FormShow", &F::FormShow)
                                      .Build();
    return info;
}

TqbrProxy::TqbrProxy(ui::TApplication& application, const engine::SetupMessages& messages,
                     std::uintptr_t ownerWindow)
    : TRetryForm(application, messages, ownerWindow)
{
    SetName("qbrProxy");
    SetClientHeight(246);
    question = AddLabel(kMargin, 28);
    group = new ui::TGroupBox(this);
    group->SetParent(this);
    group->SetBounds(kMargin, 46, kClientWidth - 2 * kMargin, 114);
    const auto field = [&](int row, ui::TLabel*& label) {
        label = new ui::TLabel(group);
        label->SetParent(group);
        label->SetBounds(10, 22 + row * 22, 110, 14);
        auto* edit = new ui::TEdit(group);
        edit->SetParent(group);
        edit->SetBounds(124, 19 + row * 22, group->Width() - 134, 21);
        label->SetFocusControl(edit);
        return edit;
    };
    server = field(0, serverLabel);
    port = field(1, portLabel);
    user = field(2, userLabel);
    password = field(3, passwordLabel);
    note = AddLabel(170, 28);
    const int buttonTop = 246 - kMargin - kButtonHeight;
    yes = AddButton(kClientWidth - 2 * kButtonWidth - kMargin - 8, buttonTop, ui::mrYes);
    yes->SetDefault(true);
    no = AddButton(kClientWidth - kButtonWidth - kMargin, buttonTop, ui::mrNo);
    no->cancel = true;
    onShow = Handler(*this, "FormShow");
}

void TqbrProxy::FormShow(forms::TObject*)
{
    SetCaption(m_messages.Text(kDownloadCaption));
    question->SetCaption(m_messages.Text(kProxyQuestion));
    group->SetCaption(m_messages.Text(kProxyGroup));
    serverLabel->SetCaption(m_messages.Text(kProxyServer));
    portLabel->SetCaption(m_messages.Text(kProxyPort));
    userLabel->SetCaption(m_messages.Text(kProxyUser));
    passwordLabel->SetCaption(m_messages.Text(kProxyPassword));
    note->SetCaption(m_messages.Text(kProxyNote));
    yes->SetCaption(m_messages.Text(kYes));
    no->SetCaption(m_messages.Text(kNo));
}

std::uintptr_t PageMediaPrompts::OwnerWindow() const
{
    const TPoolTemplate* page = m_runtime.activeDialog;
    return page && page->Peer() ? page->Peer()->Handle() : 0;
}

engine::DownloadAnswer PageMediaPrompts::AskDownloadRetry()
{
    TqbrProxyEx form(m_runtime.application, *m_runtime.engine.Messages, OwnerWindow());
    const bool retry = form.ShowModal() == ui::mrOk;
    return {retry, form.resume->Checked(), form.answeredByTimer};
}

bool PageMediaPrompts::AskProxy(engine::ProxySettings& proxy)
{
    TqbrProxy form(m_runtime.application, *m_runtime.engine.Messages, OwnerWindow());
    form.server->SetCaption(proxy.server);
    form.port->SetCaption(proxy.port);
    form.user->SetCaption(proxy.user);
    form.password->SetCaption(proxy.password);
    if (form.ShowModal() == ui::mrNo)
        return false;
    proxy = {form.server->Caption(), form.port->Caption(), form.user->Caption(),
             form.password->Caption()};
    return true;
}

engine::ExtractAnswer PageMediaPrompts::AskExtractRetry()
{
    TqbrExtract form(m_runtime.application, *m_runtime.engine.Messages, OwnerWindow());
    if (form.ShowModal() != ui::mrOk)
        return {engine::ExtractRetry::Cancel, false};
    return {
        form.extract->Checked() ? engine::ExtractRetry::Extract : engine::ExtractRetry::Download,
        form.answeredByTimer};
}

}  // namespace setup::wizard
