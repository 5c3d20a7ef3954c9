// Growable byte text in the ANSI code page (Shift-JIS here). Empty values own no memory:
// they point at one shared, never-written empty text.
#pragma once

class StringClass {
public:
    StringClass();
    explicit StringClass(const char* text);
    StringClass(const StringClass&) = delete;
    StringClass& operator=(const StringClass&) = delete;

    virtual ~StringClass();
    virtual void Append(const char* text, char separator);
    virtual void AppendString(const StringClass& value, char separator);
    virtual void AppendChar(char character, char separator);
    virtual void Assign(const char* text);
    virtual void AssignString(const StringClass& value);
    virtual int Equals(const char* text) const;
    virtual int EqualsString(const StringClass& value) const;
    virtual void Clear();
    virtual void ToLower();
    virtual void Unescape();
    virtual void StripControl();
    virtual void ExpandEnvironment();

    const char* Text() const { return text_; }
    int Length() const { return length_; }
    int Capacity() const { return capacity_; }
    bool IsEmpty() const { return length_ == 0; }

    // The value that failed lookups return a reference to; callers must not modify it.
    static StringClass& SharedEmpty();
    // Start-up empties the shared value once; it may have been written through by mistake.
    static void ResetSharedEmpty();
    static const char* EmptyText();

private:
    int capacity_;
    int length_;
    char* text_;
};

// Shift-JIS lead bytes: the byte after one belongs to the same character.
inline bool IsLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// ASCII upper case to lower case in place, leaving Shift-JIS pairs untouched.
void FoldAsciiLower(char* text);
