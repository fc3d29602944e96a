#include <dlfcn.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <string>

#include "platform/rtl/Text.h"
#include "platform/win32/Observed.h"
#include "platform/win32/emulated/EmulationControl.h"

namespace {

thread_local DWORD lastError = 0;
thread_local std::string lastLibraryError;

struct KnownError {
    uint32_t code;
    const char16_t* text;
};

// The platform's texts for the codes the system and its packages meet.
const KnownError kErrorTexts[] = {
    {ERROR_FILE_NOT_FOUND, u"The system cannot find the file specified.\r\n"},
    {ERROR_PATH_NOT_FOUND, u"The system cannot find the path specified.\r\n"},
    {ERROR_ACCESS_DENIED, u"Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, u"The handle is invalid.\r\n"},
    {ERROR_OUTOFMEMORY, u"Not enough storage is available to complete this operation.\r\n"},
    {ERROR_INVALID_PARAMETER, u"The parameter is incorrect.\r\n"},
    {ERROR_MOD_NOT_FOUND, u"The specified module could not be found.\r\n"},
    {ERROR_PROC_NOT_FOUND, u"The specified procedure could not be found.\r\n"},
    {0x80004001u, u"Not implemented\r\n"},
    {0x80004002u, u"No such interface supported\r\n"},
    {0x80004003u, u"Invalid pointer\r\n"},
    {0x80004004u, u"Operation aborted\r\n"},
    {0x80004005u, u"Unspecified error\r\n"},
    {0x8000FFFFu, u"Catastrophic failure\r\n"},
    {0x80070002u, u"The system cannot find the file specified.\r\n"},
    {0x80070005u, u"Access is denied.\r\n"},
    {0x8007000Eu, u"Not enough storage is available to complete this operation.\r\n"},
    {0x80070057u, u"The parameter is incorrect.\r\n"},
    {0x8007007Eu, u"The specified module could not be found.\r\n"},
    {0x8007007Fu, u"The specified procedure could not be found.\r\n"},
    {0x80040110u, u"Class does not support aggregation (or class object is remote)\r\n"},
    {0x80040111u, u"ClassFactory cannot supply requested class\r\n"},
    {0x80040154u, u"Class not registered\r\n"},
    {0x800401F9u, u"Error in the DLL\r\n"},
};

std::string PathOf(LPCWSTR fileName) { return rtl::ToUtf8(rtl::FromWide(fileName)); }

std::string ExecutablePath() {
    std::string path(4096, '\0');
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    path.resize(length > 0 ? static_cast<size_t>(length) : 0);
    return path;
}

bool IsBareName(const std::string& fileName) { return fileName.find_first_of("/\\") == std::string::npos; }

// As the platform searches: a bare name in the program's own folder first, then the usual
// search; a name with a folder only there.
void* OpenLibrary(const std::string& fileName) {
    if (IsBareName(fileName)) {
        const std::string executable = ExecutablePath();
        const std::string folder = executable.substr(0, executable.rfind('/') + 1);
        struct stat info {};
        const std::string beside = folder + fileName;
        if (!folder.empty() && stat(beside.c_str(), &info) == 0) return dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
    }
    return dlopen(fileName.c_str(), RTLD_NOW | RTLD_LOCAL);
}

std::string ModulePath(HMODULE module) {
    if (!module) return ExecutablePath();
    link_map* map = nullptr;
    if (dlinfo(module, RTLD_DI_LINKMAP, &map) != 0 || !map || !map->l_name) return {};
    return map->l_name;
}

}  // namespace

namespace emulation {

std::u16string LastLibraryError() { return rtl::FromUtf8(lastLibraryError); }

}  // namespace emulation

extern "C" {

DWORD GetLastError() { return lastError; }
void SetLastError(DWORD code) { lastError = code; }

void OutputDebugStringW(LPCWSTR text) { win32::WriteDebugOutput(text ? text : u""); }

HMODULE LoadLibraryW(LPCWSTR fileName) {
    if (!fileName) {
        lastError = ERROR_INVALID_PARAMETER;
        return nullptr;
    }
    void* module = OpenLibrary(PathOf(fileName));
    if (!module) {
        lastError = ERROR_MOD_NOT_FOUND;
        const char* why = dlerror();
        lastLibraryError = why ? why : "";
    }
    return static_cast<HMODULE>(module);
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
    const std::u16string path = rtl::FromUtf8(ModulePath(module));
    if (path.empty()) {
        lastError = ERROR_MOD_NOT_FOUND;
        return 0;
    }
    if (!fileName || size == 0) {
        lastError = ERROR_INSUFFICIENT_BUFFER;
        return 0;
    }
    // Cut to fit, zero-terminated, as the platform does.
    const size_t copied = std::min<size_t>(path.size(), size - 1);
    path.copy(fileName, copied);
    fileName[copied] = 0;
    if (copied < path.size()) {
        lastError = ERROR_INSUFFICIENT_BUFFER;
        return size;
    }
    return static_cast<DWORD>(copied);
}

FARPROC GetProcAddress(HMODULE module, const char* name) {
    void* symbol = module ? dlsym(module, name) : nullptr;
    if (!symbol) lastError = ERROR_PROC_NOT_FOUND;
    return symbol;
}

BOOL FreeLibrary(HMODULE module) { return module && dlclose(module) == 0; }

BOOL GetModuleHandleExW(DWORD flags, LPCWSTR name, HMODULE* module) {
    if (!module) {
        lastError = ERROR_INVALID_PARAMETER;
        return FALSE;
    }
    *module = nullptr;
    std::string path;
    if (flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) {
        Dl_info info{};
        if (dladdr(name, &info) && info.dli_fname) path = info.dli_fname;
    } else {
        path = name ? PathOf(name) : ExecutablePath();
    }
    void* found = path.empty() ? nullptr : dlopen(path.c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!found) {
        lastError = ERROR_MOD_NOT_FOUND;
        return FALSE;
    }
    // dlopen counted one more use; the platform counts it only when asked to.
    if (flags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT) dlclose(found);
    *module = static_cast<HMODULE>(found);
    return TRUE;
}

DWORD GetFileAttributesW(LPCWSTR fileName) {
    struct stat info {};
    if (!fileName || stat(PathOf(fileName).c_str(), &info) != 0) {
        lastError = ERROR_FILE_NOT_FOUND;
        return INVALID_FILE_ATTRIBUTES;
    }
    return S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0x80;
}

DWORD FormatMessageW(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPWSTR buffer, DWORD size, void*) {
    if (!(flags & FORMAT_MESSAGE_FROM_SYSTEM) || !buffer || size == 0) return 0;
    for (const auto& known : kErrorTexts) {
        if (known.code != messageId) continue;
        const std::u16string text = known.text;
        if (text.size() + 1 > size) return 0;
        text.copy(buffer, text.size());
        buffer[text.size()] = 0;
        return static_cast<DWORD>(text.size());
    }
    lastError = 317;  // ERROR_MR_MID_NOT_FOUND
    return 0;
}

}  // extern "C"
