// The program's own command line: where the text after the program name starts, the
// option scanner, the title derived from the executable's name, and the command line
// handed to a program the launcher starts. Kept free of the platform headers so that it
// is tested on the host.
#pragma once
#include <string>

class KeyValueListClass;
class StringClass;

// Splits text into options (-x or +x words) and their arguments, writing terminators into
// text. Clears options first. 0 when all was recorded, -1 for an unclosed quote or a
// trailing backslash, -2 when the last word was rejected, -3 when the pending option could
// not be recorded. Whatever was recorded before a failure stays in the list.
int ParseCommandLine(KeyValueListClass& options, char* text);

// Hands one word to the list. An option word becomes `pending` (result 1, after recording
// the option pending before it); an argument word is recorded with the pending option
// (result 0); an argument without a pending option is rejected (-2). -1 and -3 report
// entries that could not be created.
int AddOption(KeyValueListClass& options, char* word, const char*& pending);

// The part of a full process command line after the program name and the blanks after it.
const char* SkipProgramName(const char* commandLine);

// File name of an executable path without its folders and extension ("lodestay").
std::string ProgramTitle(const char* modulePath);

// Program path, then one blank and the arguments when there are any. A program path with a
// blank is put in double quotes, or the system would try the shorter paths first and could
// start another program (c:\program.exe for c:\program files\...). False when memory ran out.
bool BuildProcessCommandLine(StringClass& commandLine, const char* program, const char* arguments);
