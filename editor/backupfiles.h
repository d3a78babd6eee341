#pragma once
// Keeping earlier versions of a file before it is saved over: NAME~ is the version just replaced,
// NAME~2 the one before it, and so on up to the number of versions kept.
#include <string>

// The name of the backup `generation` (1 = newest) of `fileName`: "NAME~", "NAME~2", "NAME~3" ...
std::string BackupName(const std::string& fileName, int generation);

// Copies an existing `fileName` to its newest backup after moving the older backups one generation
// down (the oldest beyond `keep` is deleted). Does nothing when `keep` is 0 or less, the file does
// not exist, or the newest backup already holds the same bytes (as after a failed save: the file was
// not replaced, so there is nothing new to keep). The file itself is copied, not moved, so it stays in
// place should the save then fail.
// Failures are raised as AppError naming the file.
void KeepBackups(const std::string& fileName, int keep);
