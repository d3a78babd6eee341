#pragma once
// Writing a whole text to a file without ever damaging the previous file: the text goes to a temporary
// file in the same folder, is flushed to disk, and is then renamed over the target in one step. On any
// failure the old file is left exactly as it was and an AppError names the file.
//
// Nothing is left behind by a process killed during a save: the text is written to an unnamed file
// (Linux O_TMPFILE), which the system removes with the process, and is given a name (".NAME.XXXXXX",
// six letters or digits) only for the instant before the rename. Where the file system has no unnamed
// files, the temporary file carries that name while it is written; every save first removes such files
// of the same target that no save holds any more (each save keeps its temporary file locked), so at
// most the leftovers of one crash exist until the next save. An existing file without
// any write permission bit is refused ("Permission denied"), whoever runs the program. An existing target
// that is no regular file (a named pipe, a device) is written to directly instead.
#include <cstddef>
#include <functional>
#include <string>

// Writes the text's bytes unchanged (no byte-order mark, no conversion, no added line end). An existing
// target keeps its permissions; a symbolic link is followed, so the file it points to is replaced
// (or created, when the link points to a file that is not there yet).
void SaveTextToFile(const std::string& text, const std::string& fileName);

// Test seam: whether the unnamed temporary file is tried (on by default); off, every save writes
// through a named temporary file, as on a file system without O_TMPFILE.
void SetSaveTextUnnamedTemporary(bool allowed);

// Test seam: when set, called before each chunk is written with the number of bytes written so far;
// returning false makes that write fail as a full disk would (errno ENOSPC).
void SetSaveTextWriteHook(std::function<bool(std::size_t written)> hook);
