#include "setup/media/download/download_progress.h"

#include <algorithm>

namespace download {

std::string FormatThousands(std::uint64_t value, int group)
{
    const std::string digits = std::to_string(value);
    if (group <= 0)
        return digits;
    std::string text;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i != 0 && (digits.size() - i) % static_cast<std::size_t>(group) == 0)
            text += ',';
        text += digits[i];
    }
    return text;
}

std::uint64_t PercentOfTotal(std::uint64_t done, std::uint64_t total)
{
    if (total == 0)
        return 100;
    // Divided first where the product could overflow 64 bits.
    const std::uint64_t share =
        done > UINT64_MAX / 100 ? done / (total / 100 + 1) : done * 100 / total;
    return std::min<std::uint64_t>(share + 1, 100);
}

std::uint64_t ProgressCounter::Next(std::uint64_t received, std::uint64_t total)
{
    m_last = total != 0 ? PercentOfTotal(received, total)
                        : std::min<std::uint64_t>((m_last + 1) % 101, 100);
    return m_last;
}

std::string ProgressText(const DownloadTexts& texts, std::uint64_t received, std::uint64_t total,
                         std::uint64_t percent)
{
    std::string text = FormatThousands(received, 3) + " " + texts.bytesReceived;
    if (total != 0)
        text += ", " + std::to_string(percent) + texts.percentComplete;
    return text;
}

}  // namespace download
