// Path pieces for Shift-JIS byte text. Many kanji (機能, 表, ソ ...) end in byte 0x5C, so
// every search for a separator, strip or split in the program goes through these, which
// step over the second byte of a double-byte character.
#pragma once
#include <string>

// The last '\\' or '/' that is a character of its own, or null.
const char* LastSeparator(const char* path);
// Where the file name starts: after the last separator or drive colon.
const char* FileNamePart(const char* path);
// Drive and folder with their closing separator ("C:\Tools\" of "C:\Tools\a.exe"); empty
// for a bare name.
std::string FolderPart(const char* path);
// The extension with its dot, from the last '.' of the file name; empty when there is none.
std::string ExtensionPart(const char* path);
// Removes one trailing separator, but never the one of a root: "C:\" and "\" stay, because
// "C:" alone means the current folder of drive C.
void StripTrailingSeparator(std::string& path);
