// The wipers' progress reporting: the progress file with its header and padded rewrites, the
// "ClientInput.dat" abort command and the choice between a progress file and a callback.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace shred::wipers {

// The progress file as the system holds it open for the whole run.
class IProgressFile
{
public:
    virtual ~IProgressFile() = default;
    // The bytes on disk, read once at the start.
    virtual std::optional<std::string> ReadAll() = 0;
    virtual std::uint64_t Size() = 0;
    // Writes bytes at offset and flushes; never truncates.
    virtual bool WriteAt(std::uint64_t offset, std::string_view bytes) = 0;
};

// What the memory behind the progress argument can be: a function, a wide string, both (code
// bytes read as characters) or neither (NULL or unmapped).
struct ProgressArgument
{
    bool executable = false;
    std::optional<std::wstring> text;  // a terminated string within mapped, readable memory
};

class IProgressSystem
{
public:
    virtual ~IProgressSystem() = default;
    // Tells a function from a string by the memory it points at, never by calling or reading
    // past what is mapped.
    virtual ProgressArgument Probe(const void* argument) = 0;
    virtual bool FileExists(const std::wstring& path) = 0;
    virtual std::unique_ptr<IProgressFile> OpenProgressFile(const std::wstring& path) = 0;
    // "ClientInput.dat" in the current folder as wide text; nothing when missing or unreadable.
    virtual std::optional<std::wstring> ReadClientInput() = 0;
    virtual std::int64_t NowSeconds() = 0;
};

inline constexpr std::string_view kFreeSpaceOperation = "Shred Free Disk Space";
inline constexpr std::string_view kSlackOperation = "Shred Slack Space";

inline constexpr std::string_view kStatusAborted = "Aborted";
inline constexpr std::string_view kStatusStartingUp = "Starting up";
inline constexpr std::string_view kStatusInProgress = "In progress";
inline constexpr std::string_view kStatusFinished = "Finished";

// One update's lines after the header.
struct ProgressLines
{
    std::string_view operation = {};
    std::optional<int> progress = {};
    std::optional<int> timeLeft = {};
    std::string_view status = {};
};
std::string FormatProgressLines(const ProgressLines& lines);

// Text-mode translation: the file holds CR LF where the text has LF.
std::string FromTextMode(std::string_view disk);
std::string ToTextMode(std::string_view text);

// The open progress file of one run and the header it had when the run began.
class ProgressFile
{
public:
    // NULL when the file cannot be opened or read.
    static std::unique_ptr<ProgressFile> Open(IProgressSystem& system, const std::wstring& path);

    // Header and lines from the start of the file, padded with spaces to its previous end.
    void Rewrite(const ProgressLines& lines);
    // Text written where the file stands after the header was read (an error report).
    void Append(std::string_view text);

private:
    explicit ProgressFile(std::unique_ptr<IProgressFile> file, std::string header,
                          std::uint64_t position)
        : m_file(std::move(file)), m_header(std::move(header)), m_position(position)
    {}

    std::unique_ptr<IProgressFile> m_file;
    std::string m_header;  // as read in text mode
    std::uint64_t m_position;
};

// True when the command text holds "ABORT" (case-sensitive, anywhere).
bool ClientInputAbort(std::wstring_view text);
// Reads "ClientInput.dat" and sets abortByte to 1 on "ABORT"; a missing file changes nothing.
void PollClientInput(IProgressSystem& system, char& abortByte);

// Where one run reports: a progress file, a callback, or nowhere.
struct ProgressTarget
{
    std::unique_ptr<ProgressFile> file;
    void* callback = nullptr;

    bool FileMode() const { return file != nullptr; }
};
// An argument naming an existing file opens file mode; otherwise code is a callback; anything
// else (unmapped memory, a string naming no file, a file that cannot be opened) reports nowhere.
ProgressTarget ChooseProgressTarget(IProgressSystem& system, const void* argument);

}  // namespace shred::wipers
