#pragma once
// Writing a whole text to a file without ever damaging the previous file: the text goes to a temporary
// file in the same folder, is flushed to disk, and is then renamed over the target in one step. On any
// failure the old file is left exactly as it was and an AppError names the file. An existing file without
// any write permission bit is refused ("Permission denied"), whoever runs the program. An existing target
// that is no regular file (a named pipe, a device) is written to directly instead.
#include <cstddef>
#include <functional>
#include <string>

// Writes the text's bytes unchanged (no byte-order mark, no conversion, no added line end). An existing
// target keeps its permissions; a symbolic link is followed, so the file it points to is replaced
// (or created, when the link points to a file that is not there yet).
void SaveTextToFile(const std::string& text, const std::string& fileName);

// Test seam: when set, called before each chunk is written with the number of bytes written so far;
// returning false makes that write fail as a full disk would (errno ENOSPC).
void SetSaveTextWriteHook(std::function<bool(std::size_t written)> hook);
