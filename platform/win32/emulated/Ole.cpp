// COM object creation by class identifier: class objects registered by the process first,
// then in-process servers named under HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32,
// loaded and asked through their DllGetClassObject, as the platform does.
#include <algorithm>
#include <iterator>
#include <map>
#include <mutex>
#include <string_view>

#include "platform/rtl/Guid.h"
#include "platform/rtl/Text.h"

namespace {

struct RegisteredClass {
    CLSID clsid;
    IUnknown* factory;
};

using DllGetClassObjectProc = HRESULT (*)(REFCLSID, REFIID, LPVOID*);

struct ClassTable {
    std::mutex mutex;
    std::map<DWORD, RegisteredClass> classes;
    DWORD nextCookie = 1;
    // Each library loaded for its classes, by the path the registry names, with its entry point
    // looked up once (nil when it exports none); the libraries stay loaded, as nothing here
    // unloads them.
    std::map<std::u16string, DllGetClassObjectProc, std::less<>> servers;
};

ClassTable& table() {
    static ClassTable* instance = new ClassTable;
    return *instance;
}

// Room for a server's path as the registry holds it, terminating zero included.
using ServerPathBuffer = WCHAR[1024];

// HKEY_CLASSES_ROOT\CLSID\{clsid}\InprocServer32's default value, in `path`; empty when the
// class names no server.
std::u16string_view InprocServerPath(REFCLSID clsid, ServerPathBuffer& path) {
    static const char16_t prefix[] = u"CLSID\\";
    static const char16_t suffix[] = u"\\InprocServer32";
    char16_t keyPath[std::size(prefix) + rtl::GUIDTextLength + std::size(suffix)];
    char16_t* end = std::copy(std::begin(prefix), std::end(prefix) - 1, keyPath);
    end = rtl::WriteGUID(clsid, end);
    std::copy(std::begin(suffix), std::end(suffix), end);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, rtl::W(keyPath), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    DWORD size = sizeof(path) - sizeof(WCHAR);
    DWORD type = REG_NONE;
    const LSTATUS status = RegQueryValueExW(key, rtl::W(u""), nullptr, &type, reinterpret_cast<BYTE*>(path), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return {};
    path[size / sizeof(WCHAR)] = 0;
    return rtl::U(path);
}

// The entry point of the server at `path`, loaded now if it was not yet; nil when it cannot be
// loaded.
const DllGetClassObjectProc* LoadedServer(std::u16string_view path) {
    ClassTable& t = table();
    {
        std::lock_guard<std::mutex> lock(t.mutex);
        auto found = t.servers.find(path);
        if (found != t.servers.end()) return &found->second;
    }
    const std::u16string name(path);
    const HMODULE module = LoadLibraryW(rtl::W(name));
    if (!module) return nullptr;
    const auto entry = reinterpret_cast<DllGetClassObjectProc>(GetProcAddress(module, "DllGetClassObject"));
    std::lock_guard<std::mutex> lock(t.mutex);
    return &t.servers.try_emplace(name, entry).first->second;
}

HRESULT InprocServerClassObject(REFCLSID clsid, REFIID riid, LPVOID* object) {
    ServerPathBuffer buffer;
    const std::u16string_view path = InprocServerPath(clsid, buffer);
    if (path.empty()) return REGDB_E_CLASSNOTREG;
    const DllGetClassObjectProc* entry = LoadedServer(path);
    if (!entry) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    if (!*entry) return CO_E_ERRORINDLL;
    return (*entry)(clsid, riid, object);
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
