#include "shred/wipers/progress_file.h"

#include <cstdio>

namespace shred::wipers {

std::string FormatProgressLines(const ProgressLines& lines)
{
    std::string text;
    text += "<OperationName>";
    text += lines.operation;
    text += "</OperationName>\n";
    if (lines.progress)
        text += "<Progress>" + std::to_string(*lines.progress) + "</Progress>\n";
    if (lines.timeLeft)
        text += "<TimeLeft>" + std::to_string(*lines.timeLeft) + "</TimeLeft>\n";
    text += "<Status>";
    text += lines.status;
    text += "</Status>\n";
    return text;
}

std::string FromTextMode(std::string_view disk)
{
    std::string text;
    text.reserve(disk.size());
    for (std::size_t i = 0; i < disk.size(); ++i) {
        if (disk[i] == '\x1a')
            break;  // end of text in text mode
        if (disk[i] == '\r' && i + 1 < disk.size() && disk[i + 1] == '\n')
            continue;
        text += disk[i];
    }
    return text;
}

std::string ToTextMode(std::string_view text)
{
    std::string disk;
    disk.reserve(text.size() + text.size() / 16);
    for (char c : text) {
        if (c == '\n')
            disk += '\r';
        disk += c;
    }
    return disk;
}

std::unique_ptr<ProgressFile> ProgressFile::Open(IProgressSystem& system, const std::wstring& path)
{
    std::unique_ptr<IProgressFile> file = system.OpenProgressFile(path);
    if (!file)
        return nullptr;
    std::optional<std::string> disk = file->ReadAll();
    if (!disk)
        return nullptr;
    const std::uint64_t position = disk->size();
    return std::unique_ptr<ProgressFile>(
        new ProgressFile(std::move(file), FromTextMode(*disk), position));
}

void ProgressFile::Rewrite(const ProgressLines& lines)
{
    std::string bytes = ToTextMode(m_header + FormatProgressLines(lines));
    const std::uint64_t previousEnd = m_file->Size();
    if (bytes.size() < previousEnd)
        bytes.append(static_cast<std::size_t>(previousEnd - bytes.size()), ' ');
    m_file->WriteAt(0, bytes);  // a failed update is not reported; the next one tries again
    m_position = bytes.size();
}

void ProgressFile::Append(std::string_view text)
{
    const std::string bytes = ToTextMode(text);
    if (m_file->WriteAt(m_position, bytes))
        m_position += bytes.size();
}

bool ClientInputAbort(std::wstring_view text)
{
    return text.find(L"ABORT") != std::wstring_view::npos;
}

void PollClientInput(IProgressSystem& system, char& abortByte)
{
    const std::optional<std::wstring> text = system.ReadClientInput();
    if (text && ClientInputAbort(*text))
        abortByte = 1;
}

ProgressTarget ChooseProgressTarget(IProgressSystem& system, const void* argument)
{
    ProgressTarget target;
    if (argument == nullptr)
        return target;
    const ProgressArgument probed = system.Probe(argument);
    if (probed.text && !probed.text->empty() && system.FileExists(*probed.text)) {
        // A file that cannot be opened leaves the run without a report rather than calling
        // characters as code.
        target.file = ProgressFile::Open(system, *probed.text);
        return target;
    }
    if (probed.executable)
        target.callback = const_cast<void*>(argument);
    return target;
}

}  // namespace shred::wipers
