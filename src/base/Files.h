// Reading and writing whole files safely: bounded reads, and writes that never
// leave a half-written file in place of a good one.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace norq::base {

// The whole file, or nullopt when it cannot be read or holds more than maxBytes bytes
// (so a device or a huge file is never read into memory). Sets *missing when the file
// does not exist.
std::optional<std::string> ReadFileLimited(const std::string& path, std::size_t maxBytes,
                                           bool* missing = nullptr);

// Writes the bytes to a temporary file in the same folder, flushes it to the disk and
// renames it over the file, so the old file stays whole until the new one is complete.
// A symbolic link is followed: its target is replaced, the link stays. The new file keeps
// the old file's permission bits (0644 for a new file). On failure the temporary file is
// removed and false is returned.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

}  // namespace norq::base
