// The text settings file: a two-line header and one keyword/value block per executant.
#pragma once
#include "Executant.h"

// Head of a new ring in file order, or null when the file cannot be opened, is no plain file
// on a disk, or holds no valid block. The caller owns the ring. complete, when given, tells
// whether the ring is all the file holds: false after a format error or for a file that
// exists but could not be read, so that nobody saves over it unawares. unreadable, when
// given, tells the latter case alone, about which nothing has been shown.
Executant* LoadSettingsFile(const char* path, bool* complete = nullptr, bool* unreadable = nullptr);

// True when every byte reached the file. The old file is replaced only after the new one
// was written, flushed to the disk and closed without error; on failure the user has been
// told and the old file is untouched.
bool SaveSettingsFile(const char* path, Executant* head);

// Splits one line in place into key and value (both empty at first). Exposed for tests.
void SplitSettingsLine(char* line, const char** key, const char** value);
