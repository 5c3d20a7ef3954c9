// Helpers of the Windows-side tests.
#include "WinTestSupport.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr DWORD kPollMs = 10;
constexpr DWORD kBoxCloseBoundMs = 5000;

struct BoxSearch {
    DWORD processId;
    HWND found;
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
    if (owner == search->processId && std::strcmp(className, "#32770") == 0 &&
        (::GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

std::string WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthA(window);
    std::string text(length + 1, '\0');
    text.resize(::GetWindowTextA(window, &text[0], length + 1));
    return text;
}

struct IconFinder {
    HICON icon;
};

BOOL CALLBACK FindIconControl(HWND child, LPARAM parameter)
{
    IconFinder* finder = reinterpret_cast<IconFinder*>(parameter);
    char className[16] = "";
    ::GetClassNameA(child, className, sizeof(className));
    if (_stricmp(className, "Static") == 0 && (::GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
        finder->icon = reinterpret_cast<HICON>(::SendMessageA(child, STM_GETICON, 0, 0));
        return FALSE;
    }
    return TRUE;
}

const char* IconName(HWND box)
{
    IconFinder finder = {nullptr};
    ::EnumChildWindows(box, FindIconControl, reinterpret_cast<LPARAM>(&finder));
    if (finder.icon == nullptr) return "none";
    if (finder.icon == ::LoadIconA(nullptr, IDI_WARNING)) return "warning";
    if (finder.icon == ::LoadIconA(nullptr, IDI_INFORMATION)) return "information";
    if (finder.icon == ::LoadIconA(nullptr, IDI_QUESTION)) return "question";
    if (finder.icon == ::LoadIconA(nullptr, IDI_ERROR)) return "error";
    return "other";
}

}  // namespace

TempFolder::TempFolder()
{
    static int counter = 0;
    char base[MAX_PATH] = "";
    ::GetTempPathA(sizeof(base), base);
    for (;;) {
        char name[MAX_PATH];
        std::snprintf(name, sizeof(name), "%slodestay-app-%lu-%d", base, ::GetCurrentProcessId(), ++counter);
        if (::CreateDirectoryA(name, nullptr)) {
            path_ = name;
            break;
        }
        if (::GetLastError() != ERROR_ALREADY_EXISTS) break;
    }
}

TempFolder::~TempFolder()
{
    if (!path_.empty()) RemoveTree(path_);
}

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

bool WriteTextFile(const std::string& path, const std::string& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

std::string ReadTextFile(const std::string& path)
{
    std::string bytes;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return bytes;
    char buffer[4096];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0) bytes.append(buffer, n);
    std::fclose(file);
    return bytes;
}

std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/') return path;
    std::string converted = "Z:" + path;
    for (char& c : converted)
        if (c == '/') c = '\\';
    return converted;
}

HWND FindMessageBox(DWORD processId, HDESK desktop)
{
    BoxSearch search = {processId, nullptr};
    if (desktop != nullptr) {
        ::EnumDesktopWindows(desktop, MatchBox, reinterpret_cast<LPARAM>(&search));
    } else {
        ::EnumWindows(MatchBox, reinterpret_cast<LPARAM>(&search));
    }
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

void PressButton(HWND box, int button)
{
    ::PostMessageA(box, WM_COMMAND, button, 0);
}

MessageBoxWatcher::MessageBoxWatcher(int button) : button_(button), stop_(0), thread_(nullptr)
{
    thread_ = ::CreateThread(nullptr, 0, Run, this, 0, nullptr);
}

MessageBoxWatcher::~MessageBoxWatcher()
{
    Stop();
}

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
        HWND box = FindMessageBox(::GetCurrentProcessId(), nullptr);
        if (box == nullptr) {
            ::Sleep(kPollMs);
            continue;
        }
        watcher->seen_.push_back(ReadMessageBox(box));
        PressButton(box, watcher->button_);
        // Wait for this box to go, so that it is not read twice.
        for (DWORD waited = 0; ::IsWindow(box) && waited < kBoxCloseBoundMs; waited += kPollMs) ::Sleep(kPollMs);
    }
    return 0;
}

bool StartProgram(const std::string& commandLine, const char* directory, const char* desktop,
                  const char* environment, PROCESS_INFORMATION* process)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.lpDesktop = const_cast<char*>(desktop);
    std::string writable = commandLine;
    return ::CreateProcessA(nullptr, &writable[0], nullptr, nullptr, FALSE, 0, const_cast<char*>(environment),
                            directory, &startup, process) != 0;
}

long RunProgram(const std::string& commandLine, const char* directory, const char* environment, DWORD timeoutMs)
{
    PROCESS_INFORMATION process;
    if (!StartProgram(commandLine, directory, nullptr, environment, &process)) return -1;
    long result = -1;
    if (::WaitForSingleObject(process.hProcess, timeoutMs) == WAIT_OBJECT_0) {
        DWORD code = 0;
        ::GetExitCodeProcess(process.hProcess, &code);
        result = static_cast<long>(code);
    } else {
        ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return result;
}

std::string EnvironmentWith(const char* name, const char* value)
{
    std::string block;
    const std::string prefix = std::string(name) + "=";
    char* strings = ::GetEnvironmentStringsA();
    for (const char* p = strings; *p != '\0'; p += std::strlen(p) + 1) {
        if (_strnicmp(p, prefix.c_str(), prefix.size()) == 0) continue;
        block.append(p).push_back('\0');
    }
    ::FreeEnvironmentStringsA(strings);
    if (value != nullptr) block.append(prefix).append(value).push_back('\0');
    block.push_back('\0');
    return block;
}

ReportedVersion::ReportedVersion(const std::string& exeName, const char* version)
    : key_("Software\\Wine\\AppDefaults\\" + exeName)
{
    HKEY key;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) ==
        ERROR_SUCCESS) {
        ::RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                         static_cast<DWORD>(std::strlen(version) + 1));
        ::RegCloseKey(key);
    }
}

ReportedVersion::~ReportedVersion()
{
    ::RegDeleteKeyA(HKEY_CURRENT_USER, key_.c_str());
}
