// Helpers shared by the Windows-side tests and the launch benchmarks.
#include "WinTestSupport.h"

#include <tlhelp32.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

#include "LaunchSleep.h"
#include "Log.h"
#include "TestAppMessages.h"

namespace {

// Removes a folder with everything in it, read-only files included.
void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (std::strcmp(data.cFileName, ".") == 0 || std::strcmp(data.cFileName, "..") == 0) continue;
            const std::string child = path + "\\" + data.cFileName;
            ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(child);
            } else {
                ::DeleteFileA(child.c_str());
            }
        } while (::FindNextFileA(find, &data));
        ::FindClose(find);
    }
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(path.c_str());
}

constexpr DWORD kEndBoundMs = 5000;

void EndAndClose(HANDLE process)
{
    ::TerminateProcess(process, 0);
    ::WaitForSingleObject(process, kEndBoundMs);
    ::CloseHandle(process);
}

struct WindowQuery {
    DWORD processId;
    bool unownedOnly;
    HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM parameter)
{
    WindowQuery* query = reinterpret_cast<WindowQuery*>(parameter);
    DWORD processId = 0;
    ::GetWindowThreadProcessId(window, &processId);
    if (processId != query->processId || !::IsWindowVisible(window)) return TRUE;
    if (query->unownedOnly && ::GetWindow(window, GW_OWNER) != nullptr) return TRUE;
    query->found = window;
    return FALSE;
}

constexpr DWORD kPollMs = 10;
constexpr DWORD kBoxCloseBoundMs = 30000;  // a safety net: a loaded machine may take its time

struct BoxSearch {
    DWORD processId;
    HWND found;     // a message box: a dialog with the text control 0xFFFF
    HWND window;    // a dialog of the program that is no message box
};

BOOL CALLBACK MatchBox(HWND window, LPARAM parameter)
{
    BoxSearch* search = reinterpret_cast<BoxSearch*>(parameter);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    char className[16] = "";
    ::GetClassNameA(window, className, sizeof(className));
    // The style, not IsWindowVisible: on a desktop without a shown desktop window nothing
    // counts as visible. A box gets the style once its text is in place.
    if (owner != search->processId || std::strcmp(className, "#32770") != 0 ||
        !(::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE))
        return TRUE;
    // Of two, the one the other owns: the main window's own dialog.
    if (::GetDlgItem(window, 0xFFFF) == nullptr) {
        if (search->window == nullptr || ::GetWindow(window, GW_OWNER) != nullptr) search->window = window;
        return TRUE;
    }
    search->found = window;
    return FALSE;
}

std::string WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthA(window);
    std::string text(length + 1, '\0');
    text.resize(::GetWindowTextA(window, &text[0], length + 1));
    return text;
}

// A box has one icon control, a static of the icon type, among its children.
const char* IconName(HWND box)
{
    HICON icon = nullptr;
    for (HWND child = ::GetWindow(box, GW_CHILD); child != nullptr && icon == nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if ((::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON)
            icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
    }
    if (icon == nullptr) return "none";
    if (icon == ::LoadIconA(nullptr, IDI_WARNING)) return "warning";
    if (icon == ::LoadIconA(nullptr, IDI_INFORMATION)) return "information";
    if (icon == ::LoadIconA(nullptr, IDI_QUESTION)) return "question";
    if (icon == ::LoadIconA(nullptr, IDI_ERROR)) return "error";
    return "other";
}

// Reads the box, presses the button and waits until the box is gone, so that it is not read
// twice.
MessageBoxSeen Answer(HWND box, int button)
{
    const MessageBoxSeen seen = ReadMessageBox(box);
    ::PostMessageA(box, WM_COMMAND, button, 0);
    for (DWORD waited = 0; ::IsWindow(box) && waited < kBoxCloseBoundMs; waited += kPollMs) ::Sleep(kPollMs);
    return seen;
}

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

// Left out: msimg32 and ole32. Wine's own uxtheme and comdlg32 delay-load them, and Wine's
// delayed loads from its own DLLs ignore the process's DLL directories (Windows takes ole32
// from its known DLLs in any case).
const char* const kPlantedNames[] = {"comctl32", "comdlg32", "shell32", "uxtheme", "dwmapi", "psapi", "cryptbase",
                                     "propsys", "textshaping", "winmm", "version", "imm32", "msctf", "userenv"};

// A copy of a program that ends as soon as it starts: its entry point moved to a return
// instruction of its own code. Whatever is loaded for it, Wine loaded before any code of the
// program ran.
bool WriteDoNothingCopy(const std::string& from, const std::string& to)
{
    std::string image = ReadTextFile(from);
    auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(&image[reinterpret_cast<IMAGE_DOS_HEADER*>(&image[0])->e_lfanew]);
    DWORD& entry = nt->OptionalHeader.AddressOfEntryPoint;
    IMAGE_SECTION_HEADER* section = IMAGE_FIRST_SECTION(nt);
    for (const IMAGE_SECTION_HEADER* end = section + nt->FileHeader.NumberOfSections; section < end; ++section) {
        if (entry - section->VirtualAddress >= section->Misc.VirtualSize) continue;
        entry = static_cast<DWORD>(image.find('\xC3', section->PointerToRawData) - section->PointerToRawData +
                                   section->VirtualAddress);
        return WriteTextFile(to, image);
    }
    return false;
}

// Wine closes a desktop about a second after the last thread on it went away; a program
// started on it within that second can land on the closing desktop, where its windows are
// never seen (3 starts in 60 at 0.97-1.0 s after the one before). So a thread of the test stays
// on every desktop that a run was given, until the test program ends.
struct DesktopStay {
    HDESK desktop;
    HANDLE on;
};

DWORD WINAPI StayOnDesktop(void* parameter)
{
    DesktopStay* stay = static_cast<DesktopStay*>(parameter);
    if (!::SetThreadDesktop(stay->desktop)) return 1;
    ::SetEvent(stay->on);
    ::Sleep(INFINITE);
    return 0;
}

HDESK KeptDesktop(const char* name)
{
    static std::map<std::string, HDESK> kept;
    const auto known = kept.find(name);
    if (known != kept.end()) return known->second;
    DesktopStay stay = {::CreateDesktopA(name, nullptr, nullptr, 0, GENERIC_ALL, nullptr),
                        ::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    HANDLE thread = stay.desktop != nullptr ? ::CreateThread(nullptr, 0, StayOnDesktop, &stay, 0, nullptr) : nullptr;
    const HANDLE either[] = {stay.on, thread};
    const bool stays = thread != nullptr && ::WaitForMultipleObjects(2, either, FALSE, INFINITE) == WAIT_OBJECT_0;
    if (thread != nullptr) ::CloseHandle(thread);
    ::CloseHandle(stay.on);
    if (!stays) {
        if (stay.desktop != nullptr) ::CloseDesktop(stay.desktop);
        return nullptr;
    }
    return kept[name] = stay.desktop;
}

}  // namespace

// --- Temporary folders and whole files.

TempFolder::TempFolder(const char* tag)
{
    static int counter = 0;
    char base[MAX_PATH] = "";
    ::GetTempPathA(sizeof(base), base);
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof(name), "%s%s-%lu-%d", base, tag, ::GetCurrentProcessId(), ++counter);
        if (::CreateDirectoryA(name, nullptr)) {
            path_ = name;
            break;
        }
        // A folder left by an earlier process of the same id: take the next number.
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempFolder::~TempFolder()
{
    if (!path_.empty()) RemoveTree(path_);
}

bool WriteTextFile(const std::string& path, const std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::string ReadTextFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/') return path;
    std::string converted = "Z:" + path;
    for (char& c : converted)
        if (c == '/') c = '\\';
    return converted;
}

// --- Programs a test or benchmark starts, finds the window of, and ends.

ChildProcess::~ChildProcess()
{
    if (process_ != nullptr) EndAndClose(process_);
}

HANDLE StartProcess(const std::string& commandLine, const char* directory, const char* desktop)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.lpDesktop = const_cast<char*>(desktop);
    PROCESS_INFORMATION info = {};
    std::string writable = commandLine;
    if (!::CreateProcessA(nullptr, &writable[0], nullptr, nullptr, FALSE, 0, nullptr, directory, &startup, &info)) {
        return nullptr;
    }
    ::CloseHandle(info.hThread);
    return info.hProcess;
}

ChildProcess StartTestApp(const std::string& program, const std::string& report, const std::string& options)
{
    ChildProcess child(StartProcess(Quoted(program) + " --report " + report + " " + options));
    // Not idle for input: the program looks at its queue before it makes its window.
    if (child.Get() != nullptr) WaitForReport(report, "start");
    return child;
}

ChildProcess StartTestAppCopy(const std::string& path, const std::string& report, const std::string& options)
{
    if (!::CopyFileA(TestAppPath().c_str(), path.c_str(), FALSE)) return ChildProcess();
    return StartTestApp(path, report.empty() ? path + ".report" : report, options);
}

std::string ProgramBeside(const char* name)
{
    char path[MAX_PATH];
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    std::string folder(path);
    folder.erase(folder.find_last_of('\\') + 1);
    return folder + name;
}

std::string TestAppPath() { return ProgramBeside("lodestay-testapp.exe"); }
std::string ConsoleTestAppPath() { return ProgramBeside("lodestay-testapp-console.exe"); }

std::string Quoted(const std::string& path)
{
    return path.find(' ') == std::string::npos ? path : "\"" + path + "\"";
}

HWND WindowOfProcess(DWORD processId, bool unownedOnly)
{
    WindowQuery query = {processId, unownedOnly, nullptr};
    ::EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&query));
    return query.found;
}

void EndProcess(DWORD processId)
{
    HANDLE process = processId != 0 ? ::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId) : nullptr;
    if (process != nullptr) EndAndClose(process);
}

void EndPrograms(std::initializer_list<std::string> fileNames)
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = ::Process32First(snapshot, &entry); more; more = ::Process32Next(snapshot, &entry)) {
        const char* slash = std::strrchr(entry.szExeFile, '\\');
        const char* file = slash != nullptr ? slash + 1 : entry.szExeFile;
        bool ours = false;
        for (const std::string& name : fileNames) ours = ours || _stricmp(file, name.c_str()) == 0;
        if (ours && entry.th32ProcessID != ::GetCurrentProcessId()) EndProcess(entry.th32ProcessID);
    }
    ::CloseHandle(snapshot);
}

void EndTestPrograms()
{
    EndPrograms({"lodestay-testapp.exe", "lodestay-testapp-console.exe", "lodestay.exe"});
}

AppDefaults::AppDefaults(const std::string& exeName, const std::string& subKey,
                         const std::vector<std::pair<std::string, std::string>>& values)
    : key_("Software\\Wine\\AppDefaults\\" + exeName), subKey_(subKey.empty() ? key_ : key_ + "\\" + subKey)
{
    HKEY key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    for (const auto& value : values)
        ::RegSetValueExA(key, value.first.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.second.c_str()),
                         static_cast<DWORD>(value.second.size() + 1));
    ::RegCloseKey(key);
}

AppDefaults::~AppDefaults()
{
    ::RegDeleteKeyA(HKEY_CURRENT_USER, subKey_.c_str());
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
}

std::unique_ptr<AppDefaults> PlantDlls(const TempFolder& folder)
{
    const std::string standIn = ProgramBeside("lodestay-standin.dll"), doNothing = folder.File("nothing.exe");
    bool planted = ::CopyFileA(ProgramBeside("lodestay.exe").c_str(), folder.File("lodestay.exe").c_str(), FALSE) &&
                   WriteDoNothingCopy(folder.File("lodestay.exe"), doNothing);
    std::vector<std::pair<std::string, std::string>> nativeFirst;
    for (const char* name : kPlantedNames) {
        planted = planted && ::CopyFileA(standIn.c_str(), folder.File(std::string(name) + ".dll").c_str(), FALSE);
        nativeFirst.push_back({name, "native,builtin"});
    }
    {
        AppDefaults order("nothing.exe", "DllOverrides", nativeFirst);
        RunAnsweringBoxes(Quoted(doNothing), 60000, folder.Path().c_str());
    }
    // Wine's user32 loads version and imm32: that some are marked shows the order in force.
    const std::vector<std::string> winesOwn = Marks(folder);
    planted = planted && !winesOwn.empty();
    for (const std::string& dll : winesOwn) {
        planted = planted && ::DeleteFileA(folder.File(dll).c_str());
        planted = planted && ::DeleteFileA(folder.File(dll + ".mark").c_str());
    }
    if (!planted) return nullptr;
    return std::unique_ptr<AppDefaults>(new AppDefaults("lodestay.exe", "DllOverrides", nativeFirst));
}

std::vector<std::string> Marks(const TempFolder& folder)
{
    std::vector<std::string> marks;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        if (entry.path().extension() == ".mark") marks.push_back(entry.path().stem().string());
    return marks;
}

// --- The test application's reports.

Report ReadReport(const std::string& path)
{
    Report report;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        report[line.substr(0, equals)] = line.substr(equals + 1);
    }
    return report;
}

Report WaitForReport(const std::string& path, const char* event)
{
    for (int i = 0; i < 600; ++i) {
        Report report = ReadReport(path);
        if (report.count("end") && (event == nullptr || report["event"] == event)) return report;
        ::Sleep(50);
    }
    return ReadReport(path);
}

std::vector<long> Numbers(const std::string& text)
{
    std::vector<long> numbers;
    std::istringstream in(text);
    for (std::string number; std::getline(in, number, ',');)
        numbers.push_back(std::strtol(number.c_str(), nullptr, 10));
    return numbers;
}

DWORD ReportedProcessId(const Report& report)
{
    auto it = report.find("pid");
    return it == report.end() ? 0 : static_cast<DWORD>(std::strtoul(it->second.c_str(), nullptr, 10));
}

bool RequestReport(HWND window)
{
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutA(window, kReportRequest, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer) != 0 && answer == 1;
}

// --- Reading and closing message boxes of this and other processes.

HWND FindMessageBox(DWORD processId, HDESK desktop, HWND* otherWindow)
{
    BoxSearch search = {processId, nullptr, nullptr};
    if (desktop != nullptr) {
        ::EnumDesktopWindows(desktop, MatchBox, reinterpret_cast<LPARAM>(&search));
    } else {
        ::EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
    }
    if (otherWindow != nullptr) *otherWindow = search.window;
    return search.found;
}

MessageBoxSeen ReadMessageBox(HWND box)
{
    MessageBoxSeen seen;
    seen.caption = WindowText(box);
    seen.text = WindowText(::GetDlgItem(box, 0xFFFF));
    seen.owner = ::GetWindow(box, GW_OWNER);
    seen.icon = IconName(box);
    return seen;
}

MessageBoxWatcher::MessageBoxWatcher(int button)
    : button_(button), stop_(0), thread_(::CreateThread(nullptr, 0, Run, this, 0, nullptr))
{
}

MessageBoxWatcher::~MessageBoxWatcher() { Stop(); }

const std::vector<MessageBoxSeen>& MessageBoxWatcher::Stop()
{
    if (thread_ != nullptr) {
        ::InterlockedExchange(&stop_, 1);
        ::WaitForSingleObject(thread_, INFINITE);
        ::CloseHandle(thread_);
        thread_ = nullptr;
    }
    return seen_;
}

DWORD WINAPI MessageBoxWatcher::Run(void* self)
{
    MessageBoxWatcher* watcher = static_cast<MessageBoxWatcher*>(self);
    while (::InterlockedCompareExchange(&watcher->stop_, 0, 0) == 0) {
        if (HWND box = FindMessageBox(::GetCurrentProcessId(), nullptr)) {
            watcher->seen_.push_back(Answer(box, watcher->button_));
        } else {
            ::Sleep(kPollMs);
        }
    }
    return 0;
}

ProgramRun RunAnsweringBoxes(const std::string& commandLine, DWORD boundMs, const char* directory,
                             const char* desktopName, int command, const std::vector<int>& answers)
{
    ProgramRun run;
    HDESK desktop = desktopName != nullptr ? KeptDesktop(desktopName) : ::GetThreadDesktop(::GetCurrentThreadId());
    if (desktop == nullptr) return run;
    if (HANDLE process = StartProcess(commandLine, directory, desktopName)) {
        const DWORD processId = ::GetProcessId(process);
        const DWORD start = ::GetTickCount();
        HWND main = nullptr, opened = nullptr;
        while (::GetTickCount() - start < boundMs) {
            HWND window = nullptr;
            if (HWND box = FindMessageBox(processId, desktop, &window)) {
                run.boxes.push_back(Answer(box, run.boxes.size() < answers.size() ? answers[run.boxes.size()] : IDOK));
                continue;
            }
            if (main == nullptr) main = window;
            if (window != nullptr && command != 0) {
                ::PostMessageA(window, WM_COMMAND, std::exchange(command, 0), 0);
            } else if (window != nullptr && window != main && window != opened) {
                opened = window;
                ::PostMessageA(window, WM_COMMAND, IDOK, 0);
            } else if (window == main && window != nullptr && !run.window && run.boxes.size() >= answers.size()) {
                run.window = true;
                ::PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
            }
            if (::WaitForSingleObject(process, kPollMs) == WAIT_OBJECT_0) {
                run.ended = true;
                break;
            }
        }
        if (!run.ended) ::TerminateProcess(process, 1);
        ::CloseHandle(process);
    }
    return run;
}

ProgramRun RunUnattended(const std::string& settingsPath, DWORD boundMs)
{
    return RunAnsweringBoxes(Quoted(ProgramBeside("lodestay.exe")) + " -e -p " + Quoted(settingsPath), boundMs);
}

// --- What the tests set up around the launch engine.

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
