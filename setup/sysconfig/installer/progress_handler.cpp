#include "setup/sysconfig/installer/progress_handler.h"

namespace setup::sysconfig::installer {
namespace {

// Windows Installer's counters are 64-bit and allowed to wrap: add in unsigned arithmetic.
std::int64_t WrappingAdd(std::int64_t a, std::int64_t b)
{
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(a) + static_cast<std::uint64_t>(b));
}

std::int64_t WrappingNegate(std::int64_t a)
{
    return static_cast<std::int64_t>(0 - static_cast<std::uint64_t>(a));
}

std::string WithoutActionHead(std::string_view message)
{
    // "Action 12:00:00: Name. Description" keeps the description only.
    const auto dot = message.find('.');
    if (dot == std::string_view::npos)
        return std::string(message);
    const auto cut = dot + 2;
    return cut >= message.size() ? std::string() : std::string(message.substr(cut));
}

int ShowBox(HandlerSession& session, const std::string& title, std::string_view message,
            std::uint32_t flags, std::uint32_t icon, bool languageNeutral)
{
    if (!session.prompt)
        return kIdOk;
    const std::string text = title + "\r\r" + std::string(message);
    return session.prompt->ShowMessage(session.owner, text, session.caption, flags | icon,
                                       languageNeutral);
}

}  // namespace

std::array<std::int64_t, 4> ParseProgressFields(std::string_view text)
{
    std::array<std::int64_t, 4> fields{};
    std::size_t p = 0;
    for (std::size_t i = 0; i < fields.size() && p < text.size() && text[p] != '\0'; ++i) {
        if (p + 2 >= text.size() || text[p] < '1' || text[p] > '4' || text[p + 1] != ':' ||
            text[p + 2] != ' ')
            break;
        p += 3;
        std::uint64_t value = 0;
        while (p < text.size() && text[p] >= '0' && text[p] <= '9') {
            value = value * 10 + static_cast<std::uint64_t>(text[p] - '0');
            ++p;
        }
        fields[i] = static_cast<std::int64_t>(value);
        // The one separator after the number; a text that ends right after the number ends here.
        if (p < text.size())
            ++p;
    }
    return fields;
}

void ApplyProgressRecord(ProgressState& state, std::string_view record)
{
    if (record.empty())
        return;
    const auto f = ParseProgressFields(record);
    switch (f[0]) {
        case 0:
            state.min = 0;
            if (f[1] != 0)
                state.total = f[1];
            if (state.total < 0)
                state.total = WrappingNegate(state.total);
            state.position = 0;
            state.step = 0;
            if (f[2] == 0)
                state.direction = 1;
            else if (f[2] == 1)
                state.direction = -1;
            break;
        case 1:
            if (f[2] == 0)
                state.step = 0;
            else if (f[2] == 1)
                state.step = static_cast<std::int32_t>(static_cast<std::uint32_t>(f[1]));
            break;
        case 2:
            state.position =
                WrappingAdd(state.position,
                            static_cast<std::int64_t>(static_cast<std::uint64_t>(state.direction) *
                                                      static_cast<std::uint64_t>(f[1])));
            break;
        case 3:
            state.total = f[1] >= 0 ? WrappingAdd(state.total, f[1])
                                    : WrappingAdd(state.total, WrappingNegate(f[1]));
            break;
        default:
            break;
    }
}

int HandleInstallerMessage(ProgressState& state, HandlerSession& session, ProgressCallback callback,
                           std::uint32_t messageType, std::string_view message)
{
    const std::uint32_t flags = messageType & 0x00FFFFFFu;
    int result = 0;
    switch (static_cast<MessageKind>(messageType >> 24)) {
        case MessageKind::FatalExit:
            session.lastMessageText = std::string(message);
            result = session.silent ? 0
                                    : ShowBox(session, session.titles.fatal, message, flags,
                                              kIconError, false);
            break;
        case MessageKind::Error:
            session.lastMessageText = std::string(message);
            result = session.silent
                         ? kIdOk
                         : ShowBox(session, session.titles.error, message, flags, kIconError, true);
            break;
        case MessageKind::Warning:
            result = session.silent ? kIdOk
                                    : ShowBox(session, session.titles.warning, message, flags,
                                              kIconWarning, false);
            break;
        case MessageKind::User:
            if (session.silent || !session.prompt)
                result = kIdOk;
            else
                result = session.prompt->ShowMessage(session.owner, std::string(message),
                                                     session.caption, flags | kIconQuestion, false);
            break;
        case MessageKind::OutOfDiskSpace:
            result = session.silent ? kIdOk
                                    : ShowBox(session, session.titles.outOfDiskSpace, message,
                                              flags, kIconError, false);
            break;
        case MessageKind::ResolveSource:
            result = 0;  // Windows Installer resolves the source with its own dialog
            break;
        case MessageKind::ActionStart:
            state.actionText = WithoutActionHead(message);
            result = 1;
            break;
        case MessageKind::ActionData:
            state.actionText = std::string(message);
            state.position = WrappingAdd(state.position, state.step);
            result = 1;
            break;
        case MessageKind::Progress:
            ApplyProgressRecord(state, message);
            result = 1;
            break;
        case MessageKind::Info:
        case MessageKind::CommonData:
        case MessageKind::Initialize:
        case MessageKind::Terminate:
        case MessageKind::ShowDialog:
            result = 1;
            break;
        default:
            result = 0;
            break;
    }
    if (callback && !callback(state.actionText, state.position, state.total, state.min))
        return kIdCancel;
    return result;
}

}  // namespace setup::sysconfig::installer
