#include "host/PackageLibraries.h"

#include <cstring>

#include "host/WizardLibrary.h"
#include "platform/rtl/Bstr.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Registry.h"
#include "platform/win32/Observed.h"
#ifndef _WIN32
#include "platform/win32/emulated/EmulationControl.h"
#endif

namespace host {
namespace {

using ServerProc = HRESULT(STDMETHODCALLTYPE*)();

String WithoutLineEnd(String text) {
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ')) text.pop_back();
    return text;
}

String LibraryLoadError() {
#ifdef _WIN32
    String text = rtl::SysErrorMessage(GetLastError());
#else
    String text = emulation::LastLibraryError();
#endif
    return WithoutLineEnd(text);
}

// The library stays loaded while the object lives; it was loaded before or is loaded now.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const String& file) : module_(LoadLibraryW(rtl::W(file))) {}
    ~LoadedLibrary() {
        if (module_) FreeLibrary(module_);
    }
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    bool Loaded() const { return module_ != nullptr; }
    template <class Proc = ServerProc>
    Proc Entry(const char* name) const {
        return reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module_, name)));
    }

private:
    HMODULE module_;
};

#ifdef _WIN32
int WINAPI RecordedMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT style) {
    try {
        return win32::ShowMessageBox(owner, rtl::FromWide(text), rtl::FromWide(caption), style);
    } catch (...) {
        return 0;
    }
}

// The import address table entry of user32's MessageBoxW in `module`, or nil.
ULONG_PTR* MessageBoxImport(HMODULE module) {
    auto* base = reinterpret_cast<BYTE*>(module);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    if (!imports.VirtualAddress) return nullptr;
    for (auto* library = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); library->Name;
         ++library) {
        if (_stricmp(reinterpret_cast<const char*>(base + library->Name), "user32.dll") != 0 ||
            !library->OriginalFirstThunk)
            continue;
        auto* name = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->OriginalFirstThunk);
        auto* address = reinterpret_cast<IMAGE_THUNK_DATA*>(base + library->FirstThunk);
        for (; name->u1.AddressOfData; ++name, ++address) {
            if (IMAGE_SNAP_BY_ORDINAL(name->u1.Ordinal)) continue;
            const auto* byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + name->u1.AddressOfData);
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), "MessageBoxW") == 0)
                return reinterpret_cast<ULONG_PTR*>(&address->u1.Function);
        }
    }
    return nullptr;
}
#endif

}  // namespace

void ObserveMessageBoxes(IUnknown* package) {
#ifdef _WIN32
    HMODULE module = nullptr;
    // The object's vtable lies in the library that made it.
    if (!package || !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                        *reinterpret_cast<LPCWSTR*>(package), &module))
        return;
    ULONG_PTR* entry = MessageBoxImport(module);
    DWORD protection = 0;
    if (!entry || !VirtualProtect(entry, sizeof *entry, PAGE_READWRITE, &protection)) return;
    *entry = reinterpret_cast<ULONG_PTR>(&RecordedMessageBox);
    VirtualProtect(entry, sizeof *entry, protection, &protection);
#else
    (void)package;
#endif
}

String ResultText(HRESULT result) {
    const String text = WithoutLineEnd(rtl::SysErrorMessage(static_cast<DWORD>(result)));
    return rtl::IntToHex(static_cast<uint32_t>(result), 8) + (text.empty() ? u"" : u" " + text);
}

String RegisteredServer(const String& classId) {
    rtl::TRegistry registry(KEY_READ);
    registry.SetRootKey(HKEY_CLASSES_ROOT);
    if (!registry.OpenKeyReadOnly(u"CLSID\\" + classId + u"\\InprocServer32")) return String();
    return registry.ReadString(String());
}

String ServerDiagnosis(const String& classId) {
    const String file = RegisteredServer(classId);
    if (file.empty()) return u"no in-process server is registered for " + classId;
    const LoadedLibrary library(file);
    if (!library.Loaded()) return u"library " + file + u" does not load: " + LibraryLoadError();
    if (!library.Entry("DllGetClassObject")) return u"library " + file + u" has no DllGetClassObject";
    return u"library " + file + u" loads";
}

bool ServerHoldsObjects(const String& serverFile) {
    const LoadedLibrary library(serverFile);
    const ServerProc canUnloadNow = library.Loaded() ? library.Entry("DllCanUnloadNow") : nullptr;
    return canUnloadNow && canUnloadNow() == S_FALSE;
}

String LiveObjectsOf(const String& serverFile) {
    using ListProc = HRESULT(STDMETHODCALLTYPE*)(BSTR*);
    const LoadedLibrary library(serverFile);
    const ListProc list = library.Loaded() ? library.Entry<ListProc>("KorvelListLiveObjects") : nullptr;
    rtl::WideString text;
    if (!list || FAILED(list(text.Put()))) return String();
    return text.Text();
}

void RegisterServer(const std::filesystem::path& file) {
    const LoadedLibrary library(file.u16string());
    if (!library.Loaded())
        throw HostError("cannot load " + file.u8string() + ": " + rtl::ToUtf8(LibraryLoadError()));
    const ServerProc registerServer = library.Entry("DllRegisterServer");
    if (!registerServer) throw HostError(file.u8string() + " has no DllRegisterServer");
    const HRESULT result = registerServer();
    if (FAILED(result)) throw HostError(file.u8string() + ": DllRegisterServer failed: " + rtl::ToUtf8(ResultText(result)));
}

}  // namespace host
