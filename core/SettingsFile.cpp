// Reading and writing the settings file. The reader is deliberately lenient (comments,
// any word before a brace, blank lines inside a block); the writer produces one canonical form
// that the reader takes back unchanged: what one load gives, saved and loaded again, gives the
// same records.
#include "SettingsFile.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "CoreMessages.h"
#include "Log.h"
#include "Platform.h"

namespace {

// One read takes at most 383 bytes; the rest of a longer line arrives as the next line.
constexpr int kLineBufferSize = 384;
constexpr size_t kPieceBytes = kLineBufferSize - 1;
constexpr char kEndMarker[] = "--EOF--";

// The file whose next read is the rest of a line: its last read filled the buffer and the
// line went on. Everything runs on one thread; the loader clears it before and after a file.
std::FILE* g_restFollowsIn = nullptr;

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

// After a carriage return: a line feed right after it belongs to the same line end.
void SkipLineFeedAfterReturn(std::FILE* file)
{
    const int after = GetByte(file);
    if (after != '\n' && after != EOF) std::ungetc(after, file);
}

// Reads like fgets into a 384-byte buffer (at most 383 bytes, the line end included),
// with three differences: a line without its line feed is still a line, so that a
// hand-edited file whose last "}" lacks the line feed keeps its last record; a lone
// carriage return also ends a line, so that a file saved with old Macintosh line ends
// reads as lines instead of one run of text; and a line end that directly follows a full
// buffer ends that line instead of being read as an empty line of its own. `rest` tells
// whether this read is the rest of a line whose earlier part filled the buffer.
bool ReadLine(std::FILE* file, char* buffer, bool* rest)
{
    *rest = g_restFollowsIn == file;
    g_restFollowsIn = nullptr;
    int stored = 0;
    bool ended = false;
    while (!ended && stored < kLineBufferSize - 1) {
        const int c = GetByte(file);
        if (c == EOF) break;
        if (c == '\r') {
            SkipLineFeedAfterReturn(file);
            buffer[stored++] = '\n';
            ended = true;
        } else {
            buffer[stored++] = static_cast<char>(c);
            ended = c == '\n';
        }
    }
    if (!ended && stored == kLineBufferSize - 1) {
        const int c = GetByte(file);
        if (c == '\r') {
            SkipLineFeedAfterReturn(file);
        } else if (c != '\n' && c != EOF) {
            std::ungetc(c, file);
            g_restFollowsIn = file;
        }
    }
    buffer[stored] = 0;
    return stored > 0;
}

bool IsBrace(const char* key, const char* value, const char* brace)
{
    return std::strcmp(key, brace) == 0 || std::strcmp(value, brace) == 0;
}

bool IsSettingsKeyword(const char* key)
{
    for (const ExecutantKeyword* row = kExecutantKeywords; row->keyword != nullptr; ++row) {
        if (std::strcmp(row->keyword, key) == 0) return true;
    }
    return false;
}

// Inside a block: a key "}" closes it, and so does a value "}" after any key but one of the
// eleven keywords, which makes the line a setting whose value is "}".
bool ClosesBlock(const char* key, const char* value)
{
    if (std::strcmp(key, "}") == 0) return true;
    return std::strcmp(value, "}") == 0 && !IsSettingsKeyword(key);
}

void ShowFormatError(const char* path)
{
    // Without memory for the whole path the message still comes, with the path cut short.
    char fallback[512];
    size_t size = std::strlen(CoreText::kBadFormat) + std::strlen(path) + 1;
    std::unique_ptr<char[]> allocated(size > sizeof fallback ? new (std::nothrow) char[size] : nullptr);
    char* text = allocated != nullptr ? allocated.get() : fallback;
    if (allocated == nullptr && size > sizeof fallback) size = sizeof fallback;
    std::snprintf(text, size, CoreText::kBadFormat, path);
    PlatformMessageBox(text, kBoxOk | kBoxIconWarning);
}

// How many bytes of `text` a line can carry when at most `room` fit: the longest start that
// ends on a Shift-JIS character boundary (a lead byte keeps the byte after it), without the
// blanks and control bytes at its end that the reader would trim.
size_t FittingLength(const char* text, size_t length, size_t room)
{
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text);
    size_t end = 0;
    while (end < length) {
        const size_t step = IsLeadByte(bytes[end]) && end + 1 < length ? 2 : 1;
        if (end + step > room) break;
        end += step;
    }
    while (end > 0 && bytes[end - 1] <= 0x20) --end;
    return end;
}

// A setting line as written: indent + 1 tabs, the keyword, a tab, the value and a line feed.
// When that is more than the reader takes in one read (383 bytes besides the line feed),
// the line goes without the indent, which the reader skips anyway; a value that does not
// fit even then is cut at a character boundary. Values that a load gave always fit.
struct SettingLine {
    bool indented;
    size_t valueLength;  // 0: the setting is not written
};

SettingLine LayOut(const KeyValueClass& entry, int indent)
{
    const size_t name = static_cast<size_t>(entry.name.Length());
    const size_t value = static_cast<size_t>(entry.value.Length());
    if (name == 0 || value == 0) return {false, 0};
    const size_t tabs = indent >= 0 ? static_cast<size_t>(indent) + 1 : 0;
    if (tabs + name + 1 + value <= kPieceBytes) return {true, value};
    if (name + 1 + value <= kPieceBytes) return {false, value};
    const size_t room = kPieceBytes > name + 1 ? kPieceBytes - name - 1 : 0;
    return {false, FittingLength(entry.value.Text(), value, room)};
}

// The new list is written beside the old one, under the first of NAME.new, NAME.new1 ...
// NAME.new99 that nothing in the folder is called yet: a file of the user's own that happens
// to have such a name is never overwritten, nor renamed over the list.
std::FILE* CreateTemporaryBeside(const char* path, size_t length, std::unique_ptr<char[]>* name)
{
    constexpr int kNames = 100;
    const size_t size = length + sizeof ".new99";
    name->reset(new (std::nothrow) char[size]);
    if (*name == nullptr) return nullptr;
    for (int i = 0; i < kNames; ++i) {
        std::snprintf(name->get(), size, i == 0 ? "%s.new" : "%s.new%d", path, i);
        bool taken = false;
        if (std::FILE* file = PlatformCreateNewFile(name->get(), &taken)) return file;
        if (!taken) return nullptr;
    }
    return nullptr;
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
        bool rest;
        if (!ReadLine(file, line, &rest)) return -1;
        if (IsComment(line)) continue;
        const char* key;
        const char* value;
        SplitSettingsLine(line, &key, &value);
        // The rest of a long line never closes the block: it is handed on like any line.
        if (!rest) {
            if (std::strcmp(key, kEndMarker) == 0) {
                LogMessage("%s", CoreText::kEofInsideBlock);
                break;
            }
            if (ClosesBlock(key, value)) break;
        }
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
        const SettingLine line = LayOut(*entry, indent);
        // An entry without a name (its name could not be stored) has no keyword to be
        // written under: in the file it would read as another setting or none.
        if (line.valueLength == 0) continue;
        // A later duplicate of a keyword whose first entry is not written stays unwritten
        // too: in the file it would become the first, and the record would read back
        // differently.
        const KeyValueClass* first = Settings.Find(entry->name.Text());
        if (first == nullptr || LayOut(*first, indent).valueLength == 0) continue;
        if (line.indented) {
            for (int i = 0; i <= indent; ++i) std::fputc('\t', file);
        }
        std::fputs(entry->name.Text(), file);
        std::fputc('\t', file);
        std::fwrite(entry->value.Text(), 1, line.valueLength, file);
        std::fputc('\n', file);
    }
    if (withBlock) {
        for (int i = 0; i < indent; ++i) std::fputc('\t', file);
        std::fputs("}\n", file);
    }
    std::fflush(file);
    return 0;
}

Executant* LoadSettingsFile(const char* path, bool* complete, bool* unreadable)
{
    bool dummy = true;
    if (complete == nullptr) complete = &dummy;
    *complete = true;
    bool unused = false;
    if (unreadable == nullptr) unreadable = &unused;
    std::FILE* file = std::fopen(path, "rt");
    // A file that is there but cannot be read (locked, no access) is not an empty list. Nor is
    // a device or a pipe, and its first read may never return: a serial port waits for a line.
    *unreadable = file == nullptr ? PlatformFileSize(path) >= 0 : !PlatformIsPlainFile(file);
    if (file == nullptr || *unreadable) {
        if (file != nullptr) std::fclose(file);
        *complete = !*unreadable;
        return nullptr;
    }
    g_restFollowsIn = nullptr;

    Executant* last = nullptr;
    char line[kLineBufferSize];
    bool rest;
    while (ReadLine(file, line, &rest)) {
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
    g_restFollowsIn = nullptr;
    std::fclose(file);
    if (last == nullptr) return nullptr;
    return last->Next() != nullptr ? static_cast<Executant*>(last->Next()) : last;
}

bool SaveSettingsFile(const char* path, Executant* head)
{
    const size_t length = std::strlen(path);
    if (length < 5) {
        PlatformMessageBox(CoreText::kNameTooShort, kBoxOk | kBoxIconWarning);
        return false;
    }
    // The old file is replaced only once the new one is complete and on the disk, so that a
    // full disk, a write error or a power cut right after the save can never leave the user
    // with half a list. Without memory for the temporary name the file cannot be created
    // either.
    std::unique_ptr<char[]> temporary;
    std::FILE* file = CreateTemporaryBeside(path, length, &temporary);
    if (file == nullptr) {
        PlatformMessageBox(CoreText::kCannotCreate, kBoxOk | kBoxIconWarning);
        return false;
    }
    std::fputs(CoreText::kFileHeader, file);
    std::fputs(CoreText::kFileVersion, file);
    for (Executant* record = head; record != nullptr; record = record->NextExecutant(head)) {
        record->Write(file, 0, 1);
    }
    const bool written = std::ferror(file) == 0 && PlatformFlushFile(file);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || !PlatformReplaceFile(temporary.get(), path)) {
        std::remove(temporary.get());
        PlatformMessageBox(CoreText::kCannotCreate, kBoxOk | kBoxIconWarning);
        return false;
    }
    return true;
}
