// The option scanner of the program's command line and the small text helpers around the
// program name. Byte text in Shift-JIS: a lead byte and the byte after it are one
// character, so a trail byte 0x5C is never taken for a backslash.
#include "CommandLine.h"

#include <cstring>
#include <new>

#include "KeyValueList.h"
#include "StringClass.h"

namespace {

enum ScanState { kBetweenWords, kInWord, kInQuotes, kAfterBackslash };

bool IsBlank(unsigned char c) { return c == ' ' || c == '\t'; }

bool Record(KeyValueListClass& options, const char* name, const char* value)
{
    KeyValueClass* entry = new (std::nothrow) KeyValueClass(name, value);
    if (entry == nullptr) return false;
    options.Add(entry);
    return true;
}

}  // namespace

int AddOption(KeyValueListClass& options, char* word, const char*& pending)
{
    if (word[0] == '-' || word[0] == '+') {
        if (pending != nullptr) {
            if (!Record(options, pending, "")) return -1;
        }
        pending = word;
        return 1;
    }
    if (pending == nullptr) return -2;

    size_t length = std::strlen(word);
    if (length >= 2 && word[0] == '"' && word[length - 1] == '"') {
        word[length - 1] = '\0';
        ++word;
    }
    if (!Record(options, pending, word)) return -3;
    pending = nullptr;
    return 0;
}

int ParseCommandLine(KeyValueListClass& options, char* text)
{
    options.Clear();
    ScanState state = kBetweenWords;
    ScanState resume = kBetweenWords;
    char* wordStart = nullptr;
    const char* pending = nullptr;

    for (char* p = text; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        // The byte after a backslash is plain, even a lead byte; everywhere else a lead
        // byte carries the next byte with it unless it is the last one.
        const bool pairs = state != kAfterBackslash && IsLeadByte(c) && p[1] != '\0';

        switch (state) {
        case kBetweenWords:
            if (IsBlank(c)) break;
            wordStart = p;
            if (c == '\\') {
                state = kAfterBackslash;
                resume = kInWord;
            } else if (c == '"') {
                state = kInQuotes;
            } else {
                state = kInWord;
            }
            break;
        case kInWord:
            if (IsBlank(c)) {
                *p = '\0';
                // A rejected word stays open, so nothing after it is ever recorded.
                if (AddOption(options, wordStart, pending) >= 0) state = kBetweenWords;
            } else if (c == '"') {
                state = kInQuotes;
            } else if (c == '\\') {
                state = kAfterBackslash;
                resume = kInWord;
            }
            break;
        case kInQuotes:
            if (c == '\\') {
                state = kAfterBackslash;
                resume = kInQuotes;
            } else if (c == '"') {
                state = kInWord;
            }
            break;
        case kAfterBackslash:
            state = resume;
            break;
        }
        if (pairs) ++p;
    }

    if (state == kInQuotes || state == kAfterBackslash) return -1;
    if (state == kInWord && AddOption(options, wordStart, pending) < 0) return -2;
    if (pending != nullptr && !Record(options, pending, "")) return -3;
    return 0;
}

const char* SkipProgramName(const char* commandLine)
{
    const unsigned char* p = reinterpret_cast<const unsigned char*>(commandLine);
    if (*p == '"') {
        ++p;
        while (*p != '\0' && *p != '"') {
            if (IsLeadByte(*p) && p[1] != '\0') ++p;
            ++p;
        }
        if (*p == '"') ++p;
    } else {
        while (*p > ' ') {
            if (IsLeadByte(*p) && p[1] != '\0') ++p;
            ++p;
        }
    }
    while (*p != '\0' && *p <= ' ') ++p;
    return reinterpret_cast<const char*>(p);
}

std::string ProgramTitle(const char* modulePath)
{
    const char* name = modulePath;
    const char* dot = nullptr;
    for (const char* p = modulePath; *p != '\0'; ++p) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c == '\\' || c == '/' || c == ':') {
            name = p + 1;
            dot = nullptr;
        } else if (c == '.') {
            dot = p;
        } else if (IsLeadByte(c) && p[1] != '\0') {
            ++p;
        }
    }
    return dot != nullptr ? std::string(name, dot) : std::string(name);
}

bool BuildProcessCommandLine(StringClass& commandLine, const char* program, const char* arguments)
{
    commandLine.Clear();
    if (program == nullptr) return false;

    const size_t programLength = std::strlen(program);
    const bool quote = program[0] != '"' && std::strpbrk(program, " \t") != nullptr;
    const bool withArguments = arguments != nullptr && arguments[0] != '\0';
    const size_t expected =
        programLength + (quote ? 2 : 0) + (withArguments ? 1 + std::strlen(arguments) : 0);

    if (quote) {
        commandLine.Assign("\"");
        commandLine.Append(program, '\0');
        commandLine.Append("\"", '\0');
    } else {
        commandLine.Assign(program);
    }
    if (withArguments) commandLine.Append(arguments, ' ');
    // Both operations empty the value when they cannot allocate.
    return static_cast<size_t>(commandLine.Length()) == expected;
}
