// What a download shows while it runs: the byte count grouped by thousands, a percentage that
// counts round while no length is known, and the texts around them.
#pragma once

#include <cstdint>
#include <string>

namespace download {

// The texts a download shows; the setup's message table replaces the English defaults.
struct DownloadTexts
{
    std::string bytesReceived = "bytes received";
    std::string percentComplete = "% complete";
};

// The decimal digits of `value` with "," before every group of `group` digits from the right.
std::string FormatThousands(std::uint64_t value, int group);

// done × 100 div total + 1, at most 100, without overflow; 100 when there is no total.
std::uint64_t PercentOfTotal(std::uint64_t done, std::uint64_t total);

class ProgressCounter
{
public:
    // The next percentage: the share of `total` (plus one, at most 100), or one more than the last
    // report, modulo 101, while no total is known.
    std::uint64_t Next(std::uint64_t received, std::uint64_t total);

private:
    std::uint64_t m_last = 0;
};

// "12,345 bytes received" and, with a total, ", 40% complete".
std::string ProgressText(const DownloadTexts& texts, std::uint64_t received, std::uint64_t total,
                         std::uint64_t percent);

}  // namespace download
