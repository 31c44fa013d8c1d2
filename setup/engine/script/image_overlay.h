// The data a program carries after its executable image: where the image ends within the file and
// copying what follows it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace setup::engine {

// End of the image within its file from the image's headers (as they stand at the start of the
// file and of the loaded module): the largest PointerToRawData + SizeOfRawData of the sections.
// Empty when the headers are not those of a PE image or lie outside the bytes given.
std::optional<std::uint64_t> ImageEndFromHeaders(const std::uint8_t* headers, std::size_t size);

// Writes the bytes of source after imageSize to target (created or truncated) and returns true;
// false, writing nothing, when the source holds no more than its image. Raises when a file cannot
// be opened or created.
bool CopyFileOverlay(const std::string& source, const std::string& target, std::uint64_t imageSize);

}  // namespace setup::engine
