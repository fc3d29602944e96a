// The library's live C++ objects by identity, so that the IDE stand-in can name, after
// shut-down, the classes whose objects someone still holds.
#include <cxxabi.h>

#include <cstdlib>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <typeinfo>

#include "korvel/ComObject.h"
#include "korvel/Text.h"

#ifdef _WIN32
#define KORVEL_SERVER_EXPORT __declspec(dllexport)
#else
#define KORVEL_SERVER_EXPORT __attribute__((visibility("default")))
#endif

namespace korvel::sdk {
namespace {

struct LiveObjects {
    std::mutex lock;
    std::set<IUnknown*> objects;
};

// Never destroyed: objects may outlive the library's static destructors.
LiveObjects& Live() {
    static LiveObjects* live = new LiveObjects;
    return *live;
}

// "Package" for "(anonymous namespace)::Package"; the name as compiled when it cannot be read.
std::string ClassName(const std::type_info& type) {
    int status = 0;
    char* readable = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string name = status == 0 && readable ? readable : type.name();
    std::free(readable);
    static const std::string anonymous = "(anonymous namespace)::";
    for (size_t found; (found = name.find(anonymous)) != std::string::npos;) name.erase(found, anonymous.size());
    return name;
}

}  // namespace

void ObjectMade(IUnknown* object) {
    LiveObjects& live = Live();
    const std::lock_guard<std::mutex> hold(live.lock);
    live.objects.insert(object);
    KorvelLockModule();
}

void ObjectGone(IUnknown* object) {
    LiveObjects& live = Live();
    const std::lock_guard<std::mutex> hold(live.lock);
    if (live.objects.erase(object)) KorvelUnlockModule();
}

}  // namespace korvel::sdk

// "1 Package, 2 korvel::sdk::ControlEvents": the live objects by class, in the order of their
// names; an empty text when there are none. The caller frees the text with SysFreeString.
extern "C" KORVEL_SERVER_EXPORT HRESULT STDMETHODCALLTYPE KorvelListLiveObjects(BSTR* list) {
    using namespace korvel::sdk;
    if (!list) return E_POINTER;
    *list = nullptr;
    return Guarded([&] {
        std::map<std::string, int> counts;
        {
            LiveObjects& live = Live();
            const std::lock_guard<std::mutex> hold(live.lock);
            for (IUnknown* object : live.objects) ++counts[ClassName(typeid(*object))];
        }
        std::string text;
        for (const auto& [name, count] : counts) text += (text.empty() ? "" : ", ") + std::to_string(count) + " " + name;
        *list = Bstr(Text(text.begin(), text.end())).Detach();
        return S_OK;
    });
}
