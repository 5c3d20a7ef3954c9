// Reading and writing the settings file. The reader is deliberately lenient (comments,
// any word before a brace, blank lines inside a block); the writer produces one canonical form.
#include "SettingsFile.h"

#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "CoreMessages.h"
#include "Log.h"
#include "Platform.h"

namespace {

// One read takes at most 383 bytes; the rest of a longer line arrives as the next line.
constexpr int kLineBufferSize = 384;
constexpr char kEndMarker[] = "--EOF--";

// The reader is byte-wise; the locking getc costs a lock per byte, several times the whole
// load on Windows. Everything runs on one thread.
inline int GetByte(std::FILE* file)
{
#if defined(_WIN32)
    return _getc_nolock(file);
#else
    return getc_unlocked(file);
#endif
}

bool IsComment(const char* line)
{
    return line[0] == ';' || line[0] == '#' || line[0] == '\'';
}

// Reads like fgets into a 384-byte buffer (at most 383 bytes, the line end included),
// with two differences: a line without its line feed is still a line, so that a
// hand-edited file whose last "}" lacks the line feed keeps its last record; and a lone
// carriage return also ends a line, so that a file saved with old Macintosh line ends
// reads as lines instead of one run of text.
bool ReadLine(std::FILE* file, char* buffer)
{
    int stored = 0;
    while (stored < kLineBufferSize - 1) {
        const int c = GetByte(file);
        if (c == EOF) break;
        if (c == '\r') {
            const int after = GetByte(file);
            if (after != '\n' && after != EOF) std::ungetc(after, file);
            buffer[stored++] = '\n';
            break;
        }
        buffer[stored++] = static_cast<char>(c);
        if (c == '\n') break;
    }
    buffer[stored] = 0;
    return stored > 0;
}

bool IsBrace(const char* key, const char* value, const char* brace)
{
    return std::strcmp(key, brace) == 0 || std::strcmp(value, brace) == 0;
}

void ShowFormatError(const char* path)
{
    std::string text(CoreText::kBadFormat);
    const size_t at = text.find("%s");
    text.replace(at, 2, path);
    PlatformMessageBox(text.c_str(), kBoxOk | kBoxIconWarning);
}

}  // namespace

void SplitSettingsLine(char* line, const char** key, const char** value)
{
    static const char empty[1] = {0};
    *key = empty;
    *value = empty;
    size_t length = std::strlen(line);
    if (length == 0) return;
    unsigned char* bytes = reinterpret_cast<unsigned char*>(line);
    while (length > 0 && bytes[length - 1] <= 0x20) bytes[--length] = 0;
    if (length == 0) return;

    unsigned char* p = bytes;
    while (*p == ' ' || *p == '\t') ++p;
    unsigned char* keyStart = p;
    while (*p > 0x20) ++p;
    *key = reinterpret_cast<const char*>(keyStart);
    if (*p == 0) return;
    *p++ = 0;
    while (*p != 0 && *p < 0x20) ++p;
    *value = reinterpret_cast<const char*>(p);
}

int Executant::Read(std::FILE* file)
{
    char line[kLineBufferSize];
    for (;;) {
        if (!ReadLine(file, line)) return -1;
        if (IsComment(line)) continue;
        const char* key;
        const char* value;
        SplitSettingsLine(line, &key, &value);
        if (std::strcmp(key, kEndMarker) == 0) {
            LogMessage("%s", CoreText::kEofInsideBlock);
            break;
        }
        if (IsBrace(key, value, "}")) break;
        const int added = AddKeyword(key, value);
        if (added < 0) {
            LogMessage("%s", CoreText::kEntryOutOfMemory);
        } else if (added == 0) {
            LogMessage(CoreText::kUnknownKeyword, key);
        }
    }
    const int valid = Validate();
    if (valid < 0) return valid;
    ApplySettings();
    return 0;
}

int Executant::Write(std::FILE* file, int indent, int withBlock)
{
    StoreFieldsAsText();
    if (withBlock) {
        for (int i = 0; i < indent; ++i) std::fputc('\t', file);
        std::fputs(CoreText::kBlockOpener, file);
    }
    for (const KeyValueClass* entry = Settings.Head(); entry != nullptr; entry = entry->next) {
        if (entry->value.IsEmpty()) continue;
        // A later duplicate of a keyword whose first entry is empty stays unwritten: in the
        // file it would become the first, and the record would read back differently.
        if (Settings.Find(entry->name.Text())->value.IsEmpty()) continue;
        for (int i = 0; i <= indent; ++i) std::fputc('\t', file);
        std::fprintf(file, "%s\t", entry->name.Text());
        std::fprintf(file, "%s\n", entry->value.Text());
    }
    if (withBlock) {
        for (int i = 0; i < indent; ++i) std::fputc('\t', file);
        std::fputs("}\n", file);
    }
    std::fflush(file);
    return 0;
}

Executant* LoadSettingsFile(const char* path, bool* complete)
{
    bool dummy = true;
    if (complete == nullptr) complete = &dummy;
    *complete = true;
    std::FILE* file = std::fopen(path, "rt");
    if (file == nullptr) {
        // A file that is there but cannot be read (locked, no access) is not an empty list.
        *complete = PlatformFileSize(path) < 0;
        return nullptr;
    }

    Executant* last = nullptr;
    char line[kLineBufferSize];
    while (ReadLine(file, line)) {
        if (IsComment(line)) continue;
        const char* key;
        const char* value;
        SplitSettingsLine(line, &key, &value);
        if (std::strcmp(key, kEndMarker) == 0) break;
        if (IsBrace(key, value, "}")) break;
        if (!IsBrace(key, value, "{")) continue;

        Executant* record = new (std::nothrow) Executant;
        if (record == nullptr) {
            PlatformMessageBox(CoreText::kRecordOutOfMemory, kBoxOk | kBoxIconWarning);
            *complete = false;
            break;
        }
        if (record->Read(file) != 0) {
            delete record;
            ShowFormatError(path);
            *complete = false;
            break;
        }
        if (last != nullptr) last->InsertAfter(record);
        last = record;
    }
    std::fclose(file);
    if (last == nullptr) return nullptr;
    return last->Next() != nullptr ? static_cast<Executant*>(last->Next()) : last;
}

bool SaveSettingsFile(const char* path, Executant* head)
{
    if (std::strlen(path) < 5) {
        PlatformMessageBox(CoreText::kNameTooShort, kBoxOk | kBoxIconWarning);
        return false;
    }
    // The old file is replaced only once the new one is complete, so that a full disk or
    // a write error can never leave the user with half a list.
    const std::string temporary = std::string(path) + ".new";
    std::FILE* file = std::fopen(temporary.c_str(), "wt");
    if (file == nullptr) {
        PlatformMessageBox(CoreText::kCannotCreate, kBoxOk | kBoxIconWarning);
        return false;
    }
    std::fputs(CoreText::kFileHeader, file);
    std::fputs(CoreText::kFileVersion, file);
    for (Executant* record = head; record != nullptr; record = record->NextExecutant(head)) {
        record->Write(file, 0, 1);
    }
    const bool written = std::ferror(file) == 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || !PlatformReplaceFile(temporary.c_str(), path)) {
        std::remove(temporary.c_str());
        PlatformMessageBox(CoreText::kCannotCreate, kBoxOk | kBoxIconWarning);
        return false;
    }
    return true;
}
