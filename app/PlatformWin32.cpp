// The Windows side of the portable core's platform seam.
#include "Platform.h"

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

bool PlatformIsPlainFile(std::FILE* file)
{
    const intptr_t handle = _get_osfhandle(_fileno(file));
    BY_HANDLE_FILE_INFORMATION information;
    return handle != -1 && ::GetFileType(reinterpret_cast<HANDLE>(handle)) == FILE_TYPE_DISK &&
           ::GetFileInformationByHandle(reinterpret_cast<HANDLE>(handle), &information) &&
           !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}
