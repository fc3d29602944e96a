// COM object creation by class identifier: class objects registered by the process first,
// then in-process servers named under HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32,
// loaded and asked through their DllGetClassObject, as the platform does.
#include <map>
#include <mutex>

#include "platform/rtl/Guid.h"
#include "platform/rtl/Text.h"

namespace {

struct RegisteredClass {
    CLSID clsid;
    IUnknown* factory;
};

struct ClassTable {
    std::mutex mutex;
    std::map<DWORD, RegisteredClass> classes;
    DWORD nextCookie = 1;
    std::map<std::u16string, HMODULE> servers;
};

ClassTable& table() {
    static ClassTable* instance = new ClassTable;
    return *instance;
}

using DllGetClassObjectProc = HRESULT (*)(REFCLSID, REFIID, LPVOID*);

std::u16string InprocServerPath(REFCLSID clsid) {
    const std::u16string path = u"CLSID\\" + rtl::GUIDToString(clsid) + u"\\InprocServer32";
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, rtl::W(path), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    WCHAR buffer[1024];
    DWORD size = sizeof(buffer) - sizeof(WCHAR);
    DWORD type = REG_NONE;
    const LSTATUS status = RegQueryValueExW(key, rtl::W(u""), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    buffer[size / sizeof(WCHAR)] = 0;
    return rtl::FromWide(buffer);
}

HRESULT InprocServerClassObject(REFCLSID clsid, REFIID riid, LPVOID* object) {
    const std::u16string path = InprocServerPath(clsid);
    if (path.empty()) return REGDB_E_CLASSNOTREG;
    HMODULE module;
    {
        ClassTable& t = table();
        std::lock_guard<std::mutex> lock(t.mutex);
        auto found = t.servers.find(path);
        module = found != t.servers.end() ? found->second : nullptr;
    }
    if (!module) {
        module = LoadLibraryW(rtl::W(path));
        if (!module) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
        ClassTable& t = table();
        std::lock_guard<std::mutex> lock(t.mutex);
        t.servers[path] = module;  // servers stay loaded, as nothing here unloads them
    }
    auto entry = reinterpret_cast<DllGetClassObjectProc>(GetProcAddress(module, "DllGetClassObject"));
    if (!entry) return CO_E_ERRORINDLL;
    return entry(clsid, riid, object);
}

}  // namespace

extern "C" {

HRESULT CoInitializeEx(LPVOID, DWORD) { return S_OK; }
void CoUninitialize() {}

HRESULT CoRegisterClassObject(REFCLSID clsid, IUnknown* factory, DWORD, DWORD, LPDWORD cookie) {
    if (!factory || !cookie) return E_INVALIDARG;
    ClassTable& t = table();
    std::lock_guard<std::mutex> lock(t.mutex);
    factory->AddRef();
    *cookie = t.nextCookie++;
    t.classes[*cookie] = RegisteredClass{clsid, factory};
    return S_OK;
}

HRESULT CoRevokeClassObject(DWORD cookie) {
    IUnknown* factory = nullptr;
    {
        ClassTable& t = table();
        std::lock_guard<std::mutex> lock(t.mutex);
        auto found = t.classes.find(cookie);
        if (found == t.classes.end()) return E_INVALIDARG;
        factory = found->second.factory;
        t.classes.erase(found);
    }
    factory->Release();
    return S_OK;
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, LPVOID, REFIID riid, LPVOID* object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    IUnknown* registered = nullptr;
    {
        ClassTable& t = table();
        std::lock_guard<std::mutex> lock(t.mutex);
        for (auto& entry : t.classes) {
            if (entry.second.clsid == clsid) {
                registered = entry.second.factory;
                registered->AddRef();
                break;
            }
        }
    }
    HRESULT result = REGDB_E_CLASSNOTREG;
    if (registered) {
        result = registered->QueryInterface(riid, object);
        registered->Release();
    } else if (context & CLSCTX_INPROC_SERVER) {
        result = InprocServerClassObject(clsid, riid, object);
    }
    // A server that claims success without an object has none to give.
    if (SUCCEEDED(result) && !*object) result = E_NOINTERFACE;
    return result;
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, LPVOID* object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT result = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(result)) return result;
    result = factory->CreateInstance(outer, riid, object);
    factory->Release();
    return result;
}

}  // extern "C"
