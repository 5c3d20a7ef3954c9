// The list of extensions that make a file a program rather than a document: chosen from the
// PATHENT text or built in, and matched entry by entry. Kept free of the platform headers so
// that it is tested on the host.
#pragma once

class StringClass;

// The configured text, lowered, when it is longer than two bytes; the built-in list otherwise.
void ChooseExtensionList(StringClass& list, const char* configured);
// 1 when `extension` is one of the list's entries, 0 otherwise. An entry runs from its last
// dot to the next semicolon; an entry longer than 127 bytes never matches.
int ExtensionInList(const char* list, const char* extension);
