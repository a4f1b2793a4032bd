#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace pelorin::tool {

// Checks made before a command starts its work, so that a mistake in a path is
// told at once, with the path and the reason, and not after minutes of work.
// Each reports what it finds in the tool's error shape.

/// Whether the path names a regular file that opens for reading. A folder, a
/// device or a named pipe is refused: reading a pipe could block for ever.
bool CheckReadableFile(const std::string& path);
/// Whether a file can be saved at the path, replacing one there: tried by doing
/// what a save does up to its first byte, beside the target, then undone.
bool CheckWritableFile(const std::string& path);
/// Whether the output path names none of the inputs: the same file, also through a
/// link or another path to it, would be destroyed by the write.
bool CheckNotAnInput(const std::string& out, std::span<const std::string> inputs);
/// Whether the path names a folder.
bool CheckFolder(const std::string& path);

/// Why a file that opens did not load as a file of its kind ("style"): it does not
/// start as such a file of `version` does, or it does and is damaged.
std::string FormatFault(const std::string& path, int32_t version, std::string_view magic, std::string_view kind);

} // namespace pelorin::tool
