// The executant record: keyword table, defaults, and the conversions between the text
// settings and the typed fields the launcher uses.
#include "Executant.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "CoreMessages.h"
#include "Log.h"
#include "Platform.h"

const ExecutantKeyword kExecutantKeywords[kKeywordCount + 1] = {
    {"ExecutionFileName", kKeyFileName, 1, ""},
    {"ExecutionArguments", kKeyArguments, 0, ""},
    {"ExecutionPath", kKeyPath, 0, ""},
    // The default deliberately does not convert as "%d,%d": a record that only carries it
    // has no position.
    {"ExecutionPosition", kKeyPosition, 0, "0x80000000,0x80000000"},
    {"ExecutionSize", kKeySize, 0, "0x80000000,0x80000000"},
    {"ExecutionShowMode", kKeyShowMode, 0, "1"},
    {"ExecutionDisableIME", kKeyDisableIME, 0, ""},
    {"ExecutionInitialOnce", kKeyInitialOnce, 0, ""},
    {"ExecutionPriority", kKeyPriority, 0, ""},
    {"ExecutionInputTO", kKeyInputTO, 0, "5000"},
    {"ExecutionShellExec", kKeyShellExec, 0, ""},
    {nullptr, -1, 0, nullptr},
};

Executant::Executant()
    : HasPosition(0),
      PositionX(kUnsetCoordinate),
      PositionY(kUnsetCoordinate),
      HasSize(0),
      Width(kUnsetCoordinate),
      Height(kUnsetCoordinate),
      HasPriority(0),
      Priority(0),
      InputTimeout(kDefaultInputTimeout),
      ProcessHandle(nullptr),
      ThreadId(0),
      KeepHandle(0),
      ShellExec(0)
{
}

Executant::~Executant()
{
    if (ProcessHandle != nullptr) PlatformCloseHandle(ProcessHandle);
}

const char* Executant::KeyName(int index) const
{
    for (const ExecutantKeyword* row = kExecutantKeywords; row->keyword != nullptr; ++row) {
        if (row->index == index) return row->keyword;
    }
    return nullptr;
}

int Executant::AddKeyword(const char* keyword, const char* value)
{
    if (keyword == nullptr) return 0;
    for (const ExecutantKeyword* row = kExecutantKeywords; row->keyword != nullptr; ++row) {
        if (std::strcmp(row->keyword, keyword) != 0) continue;
        KeyValueClass* entry = new (std::nothrow) KeyValueClass(keyword, value);
        if (entry == nullptr) return -1;
        Settings.Add(entry);
        return 1;
    }
    return 0;
}

int Executant::Validate()
{
    for (const ExecutantKeyword* row = kExecutantKeywords; row->keyword != nullptr; ++row) {
        if (row->required && Settings.GetValue(row->keyword).IsEmpty()) {
            LogMessage(CoreText::kKeywordMissing, row->keyword);
            return -10;
        }
    }
    for (const ExecutantKeyword* row = kExecutantKeywords; row->keyword != nullptr; ++row) {
        if (Settings.Find(row->keyword) != nullptr) continue;
        KeyValueClass* entry = new (std::nothrow) KeyValueClass(row->keyword, row->defaultText);
        if (entry == nullptr) {
            LogMessage("%s", CoreText::kOutOfMemoryLog);
            return -1;
        }
        Settings.Add(entry);
    }
    return 0;
}

namespace {

// "%d,%d" as the C library reads it: both numbers are needed for a pair to count.
int ScanPair(const char* text, int* first, int* second)
{
    return std::sscanf(text, "%d,%d", first, second);
}

}  // namespace

void Executant::ApplySettings()
{
    FileName.Assign(Settings.GetValue(KeyName(kKeyFileName)).Text());
    FileName.ToLower();
    Arguments.Assign(Settings.GetValue(KeyName(kKeyArguments)).Text());

    HasPosition = 0;
    if (const KeyValueClass* entry = Settings.Find(KeyName(kKeyPosition))) {
        if (ScanPair(entry->value.Text(), &PositionX, &PositionY) == 2 && PositionX != kUnsetCoordinate &&
            PositionY != kUnsetCoordinate) {
            HasPosition = 1;
        }
    }
    HasSize = 0;
    if (const KeyValueClass* entry = Settings.Find(KeyName(kKeySize))) {
        if (ScanPair(entry->value.Text(), &Width, &Height) == 2 && Width != kUnsetCoordinate &&
            Height != kUnsetCoordinate) {
            HasSize = 1;
        }
    }

    HasPriority = 0;
    if (const KeyValueClass* entry = Settings.Find(KeyName(kKeyPriority))) {
        Priority = static_cast<unsigned>(std::strtol(entry->value.Text(), nullptr, 0));
        if (Priority != 0) HasPriority = 1;
    }

    InputTimeout = kDefaultInputTimeout;
    if (const KeyValueClass* entry = Settings.Find(KeyName(kKeyInputTO))) {
        InputTimeout = std::atoi(entry->value.Text());
    }

    ShellExec = 0;
    if (const KeyValueClass* entry = Settings.Find(KeyName(kKeyShellExec))) {
        if (std::atoi(entry->value.Text()) > 0) ShellExec = 1;
    }
}

const StringClass& Executant::SettingText(int keywordIndex) const
{
    return Settings.GetValue(KeyName(keywordIndex));
}

int Executant::SettingNumber(int keywordIndex) const
{
    return std::atoi(SettingText(keywordIndex).Text());
}

int Executant::SetSetting(int keywordIndex, const char* text)
{
    const char* keyword = KeyName(keywordIndex);
    if (keyword == nullptr) return 0;
    if (KeyValueClass* entry = Settings.Find(keyword)) {
        entry->value.Assign(text);
        return 1;
    }
    KeyValueClass* entry = new (std::nothrow) KeyValueClass(keyword, text);
    if (entry == nullptr) return -1;
    Settings.Add(entry);
    return 1;
}

int Executant::ShowCommand() const
{
    switch (SettingNumber(kKeyShowMode)) {
    case 2: return kShowMinimized;
    case 3: return kShowMaximized;
    default: return kShowNormal;
    }
}

void Executant::StoreFieldsAsText()
{
    char text[64];
    SetSetting(kKeyFileName, FileName.Text());
    SetSetting(kKeyArguments, Arguments.Text());

    text[0] = 0;
    if (PositionSet()) std::snprintf(text, sizeof text, "%d,%d", PositionX, PositionY);
    SetSetting(kKeyPosition, text);

    text[0] = 0;
    if (SizeSet()) std::snprintf(text, sizeof text, "%d,%d", Width, Height);
    SetSetting(kKeySize, text);

    text[0] = 0;
    if (Priority != 0) std::snprintf(text, sizeof text, "0x%04X", Priority);
    SetSetting(kKeyPriority, text);

    text[0] = 0;
    if (InputTimeout != kDefaultInputTimeout) std::snprintf(text, sizeof text, "%d", InputTimeout);
    SetSetting(kKeyInputTO, text);

    SetSetting(kKeyShellExec, ShellExec == 1 ? "1" : "");
}
