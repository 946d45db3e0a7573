// When a file was last written, for choosing between two Data folders that both
// hold data. Kept apart from the file operations: only the Data folder's settling uses it.
#pragma once

#include "storage/file_path.h"

#include <cstdint>
#include <optional>

namespace tallyra::platform {

// Last write time of a file in the system's own units (only compared, never shown);
// nothing when it cannot be told.
std::optional<std::int64_t> lastWriteTime(const FilePath& file);

} // namespace tallyra::platform
