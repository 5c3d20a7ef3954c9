// Byte text with buffers in 32-byte steps that never shrink, so that repeated assignments
// of similar lengths reuse one allocation.
#include "StringClass.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {

char g_emptyText[1] = {0};

int RoundUp32(long long bytes)
{
    return static_cast<int>((bytes + 31) / 32 * 32);
}

}  // namespace

StringClass::StringClass() : capacity_(0), length_(0), text_(g_emptyText) {}

StringClass::StringClass(const char* text) : StringClass() { Assign(text); }

StringClass::~StringClass()
{
    if (capacity_ > 0) delete[] text_;
}

StringClass& StringClass::SharedEmpty()
{
    static StringClass empty;
    return empty;
}

void StringClass::ResetSharedEmpty()
{
    SharedEmpty().Clear();
    g_emptyText[0] = 0;
}

const char* StringClass::EmptyText() { return g_emptyText; }

void StringClass::Clear()
{
    if (capacity_ > 0) delete[] text_;
    capacity_ = 0;
    length_ = 0;
    text_ = g_emptyText;
}

void StringClass::Assign(const char* text)
{
    if (text == nullptr) {
        Clear();
        return;
    }
    const size_t length = std::strlen(text);
    if (static_cast<long long>(capacity_) < static_cast<long long>(length) + 1) {
        // The source may live inside our own buffer; copy before releasing it.
        const int newCapacity = RoundUp32(static_cast<long long>(length) + 1);
        char* buffer = new (std::nothrow) char[newCapacity];
        if (buffer != nullptr) std::memcpy(buffer, text, length + 1);
        Clear();
        if (buffer == nullptr) return;
        text_ = buffer;
        capacity_ = newCapacity;
        length_ = static_cast<int>(length);
        return;
    }
    std::memmove(text_, text, length + 1);
    length_ = static_cast<int>(length);
}

void StringClass::AssignString(const StringClass& value)
{
    if (&value != this) Assign(value.text_);
}

void StringClass::Append(const char* text, char separator)
{
    if (text == nullptr) text = g_emptyText;
    const int s = separator != 0 ? 1 : 0;
    const size_t added = std::strlen(text);
    const long long newLength = static_cast<long long>(length_) + s + static_cast<long long>(added);
    if (newLength + 1 > capacity_) {
        const int newCapacity = RoundUp32(newLength + 1);
        char* buffer = new (std::nothrow) char[newCapacity];
        if (buffer == nullptr) {
            Clear();
            return;
        }
        std::memcpy(buffer, text_, static_cast<size_t>(length_));
        if (s) buffer[length_] = separator;
        // `text` may point into the old buffer, which is still alive here.
        std::memcpy(buffer + length_ + s, text, added + 1);
        if (capacity_ > 0) delete[] text_;
        text_ = buffer;
        capacity_ = newCapacity;
        length_ = static_cast<int>(newLength);
        return;
    }
    std::memmove(text_ + length_ + s, text, added + 1);
    if (s) text_[length_] = separator;
    length_ = static_cast<int>(newLength);
}

void StringClass::AppendString(const StringClass& value, char separator)
{
    Append(value.text_, separator);
}

void StringClass::AppendChar(char character, char separator)
{
    const char text[2] = {character, 0};
    Append(text, separator);
}

int StringClass::Equals(const char* text) const
{
    if (text == nullptr) return 0;
    return std::strcmp(text_, text) == 0 ? 1 : 0;
}

int StringClass::EqualsString(const StringClass& value) const
{
    return length_ == value.length_ && std::memcmp(text_, value.text_, static_cast<size_t>(length_)) == 0 ? 1 : 0;
}

void FoldAsciiLower(char* text)
{
    for (unsigned char* p = reinterpret_cast<unsigned char*>(text); *p != 0; ++p) {
        if (IsLeadByte(*p)) {
            if (p[1] == 0) break;
            ++p;
        } else if (*p >= 'A' && *p <= 'Z') {
            *p = static_cast<unsigned char>(*p + 0x20);
        }
    }
}

void StringClass::ToLower()
{
    if (capacity_ > 0) FoldAsciiLower(text_);
}

void StringClass::Unescape()
{
    if (capacity_ == 0) return;
    char* out = text_;
    for (const char* in = text_; *in != 0; ++in) {
        if (*in == '\\' && in[1] != 0) {
            ++in;
            switch (*in) {
            case 'n': *out++ = '\n'; break;
            case 't': *out++ = '\t'; break;
            case 'r': *out++ = '\r'; break;
            default: *out++ = *in; break;
            }
        } else {
            *out++ = *in;
        }
    }
    *out = 0;
    length_ = static_cast<int>(out - text_);
}

void StringClass::StripControl()
{
    if (capacity_ == 0) return;
    char* out = text_;
    for (const char* in = text_; *in != 0; ++in) {
        if (static_cast<unsigned char>(*in) >= 0x20) *out++ = *in;
    }
    *out = 0;
    length_ = static_cast<int>(out - text_);
}

void StringClass::ExpandEnvironment()
{
    if (std::strchr(text_, '%') == nullptr) return;
    StringClass result;
    const char* p = text_;
    while (*p != 0) {
        const char* open = std::strchr(p, '%');
        const char* close = open != nullptr ? std::strchr(open + 1, '%') : nullptr;
        if (open == nullptr || close == nullptr) {
            result.Append(p, 0);
            break;
        }
        StringClass before;
        before.Assign(p);
        before.length_ = static_cast<int>(open - p);
        if (before.capacity_ > 0) before.text_[before.length_] = 0;
        result.AppendString(before, 0);
        StringClass name;
        name.Assign(open + 1);
        name.length_ = static_cast<int>(close - open - 1);
        if (name.capacity_ > 0) name.text_[name.length_] = 0;
        const char* value = name.length_ > 0 ? std::getenv(name.text_) : nullptr;
        if (value != nullptr) {
            result.Append(value, 0);
        } else {
            // An unknown reference stays as written, so that nothing is silently lost.
            result.Append("%", 0);
            result.AppendString(name, 0);
            result.Append("%", 0);
        }
        p = close + 1;
    }
    AssignString(result);
}
