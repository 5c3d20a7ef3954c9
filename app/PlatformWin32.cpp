// The Windows side of the portable core's platform seam.
#include "Platform.h"

#include <fcntl.h>
#include <io.h>

#include "Handles.h"
#include "SystemUtilities.h"

int PlatformMessageBox(const char* text, unsigned style)
{
    return AppMessageBox(text, style);
}

// The core hands over only the process handle that an executant kept after a test launch.
void PlatformCloseHandle(void* handle)
{
    if (handle == nullptr) return;
    ::CloseHandle(static_cast<HANDLE>(handle));
    KeptProcessHandles::Closed();
}

long long PlatformFileSize(const char* path)
{
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// Windows refuses to replace a read-only file, and so does this, for the user who protected
// the list that way; Wine would replace it.
bool PlatformReplaceFile(const char* from, const char* to)
{
    const DWORD attributes = ::GetFileAttributesA(to);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return ::MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

std::FILE* PlatformCreateNewFile(const char* path, bool* taken)
{
    HANDLE handle = ::CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    // A folder of that name gives another error than a file, but takes the name all the same.
    *taken = handle == INVALID_HANDLE_VALUE && ::GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES;
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_TEXT | _O_WRONLY);
    std::FILE* file = descriptor != -1 ? _fdopen(descriptor, "wt") : nullptr;
    if (file == nullptr) {
        if (descriptor != -1) {
            _close(descriptor);
        } else {
            ::CloseHandle(handle);
        }
        ::DeleteFileA(path);
    }
    return file;
}

bool PlatformFlushFile(std::FILE* file)
{
    if (std::fflush(file) != 0) return false;
    const intptr_t handle = _get_osfhandle(_fileno(file));
    return handle != -1 && ::FlushFileBuffers(reinterpret_cast<HANDLE>(handle));
}

bool PlatformIsPlainFile(std::FILE* file)
{
    const intptr_t handle = _get_osfhandle(_fileno(file));
    BY_HANDLE_FILE_INFORMATION information;
    return handle != -1 && ::GetFileType(reinterpret_cast<HANDLE>(handle)) == FILE_TYPE_DISK &&
           ::GetFileInformationByHandle(reinterpret_cast<HANDLE>(handle), &information) &&
           !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}
