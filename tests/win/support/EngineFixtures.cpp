// What the tests set up around the launch engine.
#include "WinTestSupport.h"

#include <fstream>
#include <sstream>

#include "LaunchSleep.h"
#include "Log.h"

namespace {

std::vector<unsigned> g_pauses;
bool g_realPause = false;
LaunchSleepFunction g_previousPause = nullptr;

void RecordPause(unsigned milliseconds)
{
    g_pauses.push_back(milliseconds);
    if (g_realPause) ::Sleep(milliseconds);
}

const char kTestProgId[] = "Lodestay.TestDocument";

void SetKeyDefault(const std::string& key, const std::string& value)
{
    HKEY handle = nullptr;
    if (::RegCreateKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle, nullptr) !=
        ERROR_SUCCESS) {
        return;
    }
    ::RegSetValueExA(handle, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
    ::RegCloseKey(handle);
}

}  // namespace

const char kTestExtension[] = ".lodestaytest";

CapturedLog::CapturedLog() : folder_("log"), path_(folder_.File("launch.log"))
{
    SetLogMaxSize(0x7FFFFFFF);
    SetLogEnabled(true);
    SetLogPath(path_.c_str());
}

CapturedLog::~CapturedLog()
{
    SetLogPath("");
    SetLogMaxSize(0);
}

std::string CapturedLog::Text() const
{
    // The writer appends in text mode; reading in text mode gives back what it was handed.
    std::ifstream in(path_);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

PauseRecorder::PauseRecorder(bool realPause)
{
    g_pauses.clear();
    g_realPause = realPause;
    g_previousPause = SetLaunchSleep(RecordPause);
}

PauseRecorder::~PauseRecorder() { SetLaunchSleep(g_previousPause); }

const std::vector<unsigned>& PauseRecorder::Pauses() const { return g_pauses; }

std::unique_ptr<Executant> MakeExecutant(const EntrySettings& settings)
{
    std::unique_ptr<Executant> executant(new Executant);
    for (const auto& setting : settings) executant->AddKeyword(setting.first, setting.second.c_str());
    executant->Validate();
    executant->ApplySettings();
    return executant;
}

bool WriteSettingsFile(const std::string& path, const std::vector<EntrySettings>& entries)
{
    std::ofstream file(path);
    file << ";Lodestay\nFileVersion\t0x0110\n";
    for (const EntrySettings& entry : entries) {
        file << "Executant::RingListClass\t{\n";
        for (const auto& setting : entry) file << "\t" << setting.first << "\t" << setting.second << "\n";
        file << "}\n";
    }
    file.close();
    return !file.fail();
}

// Wine's shell reads associations from the classes root only, not from the user's own
// classes, so the type goes there (inside the test prefix).
TestFileType::TestFileType()
{
    SetKeyDefault(kTestExtension, kTestProgId);
    SetKeyDefault(std::string(kTestProgId) + "\\shell\\open\\command", "\"" + TestAppPath() + "\" --open \"%1\"");
}

TestFileType::~TestFileType()
{
    for (const char* sub : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""}) {
        ::RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kTestProgId) + sub).c_str());
    }
    ::RegDeleteKeyA(HKEY_CLASSES_ROOT, kTestExtension);
}
