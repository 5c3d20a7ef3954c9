// The record of one application: every setting is text in `Settings` under a fixed keyword,
// mirrored by the typed fields that the launcher needs as numbers.
#pragma once
#include <cstdio>
#include "KeyValueList.h"
#include "RingList.h"

// Marks a coordinate or extent as not set.
constexpr int kUnsetCoordinate = static_cast<int>(0x80000000u);
constexpr int kDefaultInputTimeout = 5000;

enum ExecutantKeywordIndex {
    kKeyFileName = 0,
    kKeyArguments,
    kKeyPath,
    kKeyPosition,
    kKeySize,
    kKeyShowMode,
    kKeyDisableIME,
    kKeyInitialOnce,
    kKeyPriority,
    kKeyInputTO,
    kKeyShellExec,
    kKeywordCount
};

struct ExecutantKeyword {
    const char* keyword;      // null in the row that ends the table
    int index;
    int required;
    const char* defaultText;
};

extern const ExecutantKeyword kExecutantKeywords[kKeywordCount + 1];

// Show commands, numerically equal to SW_SHOWNORMAL, SW_SHOWMINIMIZED and SW_SHOWMAXIMIZED.
constexpr int kShowNormal = 1;
constexpr int kShowMinimized = 2;
constexpr int kShowMaximized = 3;

class Executant : public RingListClass {
public:
    Executant();
    ~Executant() override;

    // Defined by the launch engine; `void*` stands for the platform's handle types so that
    // the record stays free of the platform headers.
    virtual void* FindMainWindow(void* process, unsigned timeout, void* beforeSnapshot, void* afterSnapshot);
    virtual int Read(std::FILE* file);
    virtual int Write(std::FILE* file, int indent, int withBlock);
    virtual const char* KeyName(int index) const;
    virtual int Launch(const char* desktop);
    virtual int TestLaunch();
    virtual int EndApplication(unsigned methods);
    virtual int Validate();
    virtual void ApplySettings();
    virtual int AddKeyword(const char* keyword, const char* value);
    virtual int LaunchViaHelper(const char* desktop);
    virtual int LaunchViaShell();
    virtual void ResetWindowSearch(int mode);

    // Settings without a typed field are read as text and converted like atoi.
    int SettingNumber(int keywordIndex) const;
    const StringClass& SettingText(int keywordIndex) const;
    // Stores text into the first entry of the keyword, or appends a new entry.
    int SetSetting(int keywordIndex, const char* text);
    // ExecutionShowMode 2 minimised, 3 maximised, anything else normal.
    int ShowCommand() const;
    bool PositionSet() const { return HasPosition == 1 && PositionX != kUnsetCoordinate && PositionY != kUnsetCoordinate; }
    bool SizeSet() const { return HasSize == 1 && Width != kUnsetCoordinate && Height != kUnsetCoordinate; }
    Executant* NextExecutant(const Executant* head) const
    {
        return static_cast<Executant*>(RingWalkNext(this, head));
    }

    KeyValueListClass Settings;
    StringClass FileName;
    StringClass Arguments;
    int HasPosition;
    int PositionX;
    int PositionY;
    int HasSize;
    int Width;
    int Height;
    int HasPriority;
    unsigned Priority;
    int InputTimeout;
    void* ProcessHandle;
    unsigned ThreadId;
    int KeepHandle;
    int ShellExec;

private:
    void StoreFieldsAsText();
};
