// The library as COM and regsvr32 see it: a class object per package class, the unload
// question, and the registry entries that make the loader find the packages.
#include "korvel/InprocServer.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <string>
#include <vector>

#include "korvel/Text.h"

#ifdef _WIN32
#define KORVEL_SERVER_EXPORT  // the .def names the exports
#else
#define KORVEL_SERVER_EXPORT __attribute__((visibility("default")))
#endif

namespace korvel::sdk {
namespace {

// COM may ask whether the library can go from any thread.
std::atomic<ULONG> moduleReferences{0};

class PackageFactory final : public ComObject<IClassFactory> {
public:
    explicit PackageFactory(CreateFunction create) : create_(create) {}

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return create_(iid, object);
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            LockModule();
        else
            UnlockModule();
        return S_OK;
    }

private:
    const CreateFunction create_;
};

bool IdBefore(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }

// The classes ordered by identifier, made at the first request: a library of many classes
// finds one without walking them all. Of two entries with one identifier the first counts.
const std::vector<const PackageClass*>& ClassesById() {
    static const std::vector<const PackageClass*> ordered = [] {
        std::vector<const PackageClass*> classes;
        classes.reserve(PackageClassCount);
        for (size_t i = 0; i < PackageClassCount; ++i) classes.push_back(&PackageClasses[i]);
        std::stable_sort(classes.begin(), classes.end(),
                         [](const PackageClass* a, const PackageClass* b) { return IdBefore(a->id, b->id); });
        return classes;
    }();
    return ordered;
}

const PackageClass* FindPackageClass(const GUID& id) {
    const auto& classes = ClassesById();
    const auto found = std::lower_bound(classes.begin(), classes.end(), id,
                                        [](const PackageClass* entry, const GUID& key) { return IdBefore(entry->id, key); });
    return found != classes.end() && IsEqualGUID((*found)->id, id) ? *found : nullptr;
}

Text GuidText(const GUID& id) {
    static const char16_t digits[] = u"0123456789ABCDEF";
    Text text = u"{";
    auto hex = [&](uint32_t value, int count) {
        for (int shift = (count - 1) * 4; shift >= 0; shift -= 4) text += digits[(value >> shift) & 0xF];
    };
    hex(id.Data1, 8);
    text += u'-';
    hex(id.Data2, 4);
    text += u'-';
    hex(id.Data3, 4);
    text += u'-';
    for (int i = 0; i < 8; ++i) {
        if (i == 2) text += u'-';
        hex(id.Data4[i], 2);
    }
    return text + u"}";
}

// The file this code was loaded from.
Text ServerPath() {
    HMODULE self = nullptr;
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCWSTR>(&ServerPath), &self))
        return Text();
    WCHAR path[1024];
    const DWORD length = GetModuleFileNameW(self, path, 1024);
    return length > 0 && length < 1024 ? FromWideString(path) : Text();
}

LSTATUS SetValue(HKEY key, const Text& name, DWORD type, const void* data, size_t bytes) {
    return RegSetValueExW(key, Wide(name), 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes));
}
LSTATUS SetText(HKEY key, const Text& name, const Text& value) {
    return SetValue(key, name, REG_SZ, value.c_str(), (value.size() + 1) * sizeof(char16_t));
}

// Creates `path` under `root` and lets `fill` write its values.
template <class Fill>
LSTATUS WriteKey(HKEY root, const Text& path, Fill&& fill) {
    HKEY key = nullptr;
    LSTATUS status = RegCreateKeyExW(root, Wide(path), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr,
                                     &key, nullptr);
    if (status != ERROR_SUCCESS) return status;
    status = fill(key);
    RegCloseKey(key);
    return status;
}

LSTATUS RegisterPackageClass(const PackageClass& packageClass, const Text& serverPath) {
    const Text id = GuidText(packageClass.id);
    LSTATUS status = WriteKey(HKEY_CLASSES_ROOT, u"CLSID\\" + id + u"\\InprocServer32", [&](HKEY key) {
        const LSTATUS written = SetText(key, u"", serverPath);
        return written != ERROR_SUCCESS ? written : SetText(key, u"ThreadingModel", u"Apartment");
    });
    if (status != ERROR_SUCCESS) return status;
    return WriteKey(HKEY_LOCAL_MACHINE, Text(PackagesKey) + u"\\" + id, [&](HKEY key) {
        const LSTATUS written = SetText(key, u"", packageClass.name ? packageClass.name : u"");
        const DWORD loadOrder = static_cast<DWORD>(packageClass.loadOrder);
        return written != ERROR_SUCCESS ? written : SetValue(key, u"LoadOrder", REG_DWORD, &loadOrder, sizeof loadOrder);
    });
}

void UnregisterPackageClass(const PackageClass& packageClass) {
    const Text id = GuidText(packageClass.id);
    RegDeleteTreeW(HKEY_CLASSES_ROOT, Wide(u"CLSID\\" + id));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, Wide(Text(PackagesKey) + u"\\" + id));
}

}  // namespace

void LockModule() { ++moduleReferences; }

// More unlocks than locks would let the library go while it is in use.
void UnlockModule() {
    ULONG references = moduleReferences.load();
    while (references > 0 && !moduleReferences.compare_exchange_weak(references, references - 1)) {
    }
}

bool ModuleInUse() { return moduleReferences.load() > 0; }

}  // namespace korvel::sdk

using namespace korvel::sdk;

extern "C" KORVEL_SERVER_EXPORT HRESULT STDMETHODCALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    return Guarded([&] {
        const PackageClass* packageClass = FindPackageClass(clsid);
        if (!packageClass) return CLASS_E_CLASSNOTAVAILABLE;
        const ComRef<PackageFactory> factory(new PackageFactory(packageClass->create));
        return factory->QueryInterface(iid, object);
    });
}

extern "C" KORVEL_SERVER_EXPORT HRESULT STDMETHODCALLTYPE DllCanUnloadNow() { return ModuleInUse() ? S_FALSE : S_OK; }

// As regsvr32 asks it: the class under HKEY_CLASSES_ROOT, the package under the loader's key.
extern "C" KORVEL_SERVER_EXPORT HRESULT STDMETHODCALLTYPE DllRegisterServer() {
    return Guarded([] {
        const Text serverPath = ServerPath();
        if (serverPath.empty()) return HRESULT_FROM_WIN32(GetLastError());
        for (size_t i = 0; i < PackageClassCount; ++i) {
            const LSTATUS status = RegisterPackageClass(PackageClasses[i], serverPath);
            if (status != ERROR_SUCCESS) return HRESULT_FROM_WIN32(status);
        }
        return S_OK;
    });
}

extern "C" KORVEL_SERVER_EXPORT HRESULT STDMETHODCALLTYPE DllUnregisterServer() {
    return Guarded([] {
        for (size_t i = 0; i < PackageClassCount; ++i) UnregisterPackageClass(PackageClasses[i]);
        return S_OK;
    });
}
