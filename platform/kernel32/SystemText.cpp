// FormatMessageA: the system's texts for the error codes this layer sets.
#include "Core.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

struct SystemText {
    DWORD code;
    const char* text;
};

const SystemText kTexts[] = {
    {ERROR_SUCCESS, "The operation completed successfully.\r\n"},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
    {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory resources are available to process this command.\r\n"},
    {ERROR_INVALID_ACCESS, "The access code is invalid.\r\n"},
    {ERROR_INVALID_DATA, "The data is invalid.\r\n"},
    {ERROR_OUTOFMEMORY, "Not enough memory resources are available to complete this operation.\r\n"},
    {ERROR_NOT_READY, "The device is not ready.\r\n"},
    {ERROR_READ_FAULT, "The system cannot read from the specified device.\r\n"},
    {ERROR_NOT_SUPPORTED, "The request is not supported.\r\n"},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small.\r\n"},
    {ERROR_MOD_NOT_FOUND, "The specified module could not be found.\r\n"},
    {ERROR_PROC_NOT_FOUND, "The specified procedure could not be found.\r\n"},
    {ERROR_BUSY, "The requested resource is in use.\r\n"},
    {ERROR_MR_MID_NOT_FOUND,
     "The system cannot find message text for message number 0x%1 in the message file for %2.\r\n"},
    {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle.\r\n"},
    {ERROR_CANNOT_FIND_WND_CLASS, "Cannot find window class.\r\n"},
    {ERROR_CLASS_ALREADY_EXISTS, "Class already exists.\r\n"},
    {ERROR_CLASS_DOES_NOT_EXIST, "Class does not exist.\r\n"},
    {ERROR_CLASS_HAS_WINDOWS, "Class still has open windows.\r\n"},
    {ERROR_INVALID_INDEX, "Invalid index.\r\n"},
    {ERROR_RESOURCE_DATA_NOT_FOUND, "The specified image file did not contain a resource section.\r\n"},
    {ERROR_RESOURCE_TYPE_NOT_FOUND, "The specified resource type cannot be found in the image file.\r\n"},
    {ERROR_RESOURCE_NAME_NOT_FOUND, "The specified resource name cannot be found in the image file.\r\n"},
};

const char* TextFor(DWORD code)
{
    for (const SystemText& t : kTexts)
        if (t.code == code) return t.text;
    return nullptr;
}

// An insert is %1 to %99; %% and the like are not.
bool HasInserts(const char* text)
{
    for (const char* p = std::strchr(text, '%'); p; p = std::strchr(p + 2, '%')) {
        if (p[1] >= '1' && p[1] <= '9') return true;
        if (p[1] == '\0') break;
    }
    return false;
}

}  // namespace

DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer, DWORD size,
                            va_list* arguments)
{
    DWORD code = 0;
    if (plat::FailWin32("FormatMessageA", &code)) return 0;
    // Only system texts.
    const char* text = (flags & FORMAT_MESSAGE_FROM_SYSTEM) ? TextFor(messageId) : nullptr;
    if (!text || !buffer) {
        SetLastError(text ? ERROR_INVALID_PARAMETER : ERROR_MR_MID_NOT_FOUND);
        return 0;
    }
    if (!(flags & FORMAT_MESSAGE_IGNORE_INSERTS) && HasInserts(text)) {
        // Windows fails a text with inserts and no arguments; filling them
        // from arguments is not done here at all.
        SetLastError(arguments ? ERROR_NOT_SUPPORTED : ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t length = std::strlen(text);
    if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
        // The caller frees it with LocalFree.
        char* copy = static_cast<char*>(std::malloc(std::max<size_t>(length + 1, size)));
        if (!copy) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return 0;
        }
        std::memcpy(copy, text, length + 1);
        *reinterpret_cast<LPSTR*>(buffer) = copy;
        return (DWORD)length;
    }
    if (size < length + 1) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(buffer, text, length + 1);
    return (DWORD)length;
}
