// The package-facing Tools API's wire format as a package written in C sees it: the GUIDs as
// text, and package notifiers laid out as plain tables of function pointers in the declared
// order, so that a slot that moved in our declarations lands on the wrong entry here.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/rtl/Guid.h"
#include "toolsapi/WrappedToolsAPI.h"

namespace {

TEST(ToolsApiWire, InterfaceIdentifiers) {
    const std::pair<const GUID*, const char16_t*> ids[] = {
        {&IID_IBDSModuleServices70, u"{F17A7BCD-E07D-11D1-AB0B-00C04FB16FB3}"},
        {&IID_IBDSEditorServices80, u"{F37E8C46-0A02-4FD4-8D57-E55F9A5783EC}"},
        {&IID_IBDSModule, u"{7FF96161-E610-4414-B8B1-D1ECA76FEAFB}"},
        {&IID_IBDSEditor, u"{F17A7BD0-E07D-11D1-AB0B-00C04FB16FB3}"},
        {&IID_IBDSNotifier, u"{F17A7BCF-E07D-11D1-AB0B-00C04FB16FB3}"},
        {&IID_IBDSModuleNotifier, u"{F17A7BCE-E07D-11D1-AB0B-00C04FB16FB3}"},
        {&IID_IBDSModuleNotifier80, u"{6C4714BB-223A-4CDF-A710-429FE8FA0B91}"},
        {&IID_IBDSModuleNotifier90, u"{53B90D0D-0E70-472A-885E-0566B2711C15}"},
        {&IID_IBDSEditorNotifier, u"{0E3B9D7B-E119-11D1-AB0C-00C04FB16FB3}"},
        {&IID_IBDSEditServicesNotifier, u"{F954AA40-23E7-412C-BD59-CC3428DE2939}"},
        {&IID_IBDSFile, u"{6E2AD9B0-F7F0-11D1-AB26-00C04FB16FB3}"},
        {&IID_IBDSFileSystem, u"{A9D1389D-F4B0-11D1-AB22-00C04FB16FB3}"},
        {&IID_IBDSFileFilter, u"{14DBB1D5-9802-458E-A8C3-606237708939}"},
        {&IID_IBDSCreator, u"{6EDB9B9E-F57A-11D1-AB23-00C04FB16FB3}"},
        {&IID_IBDSModuleCreator, u"{6EDB9B9A-F57A-11D1-AB23-00C04FB16FB3}"},
        {&IID_IBDSProject, u"{D0090018-D879-41FC-8F83-AA4F40098ACF}"},
    };
    for (const auto& [id, text] : ids) EXPECT_EQ(rtl::GUIDToString(*id), text);
    EXPECT_EQ(korvel::IID_IOTAModuleServices70, rtl::GUIDToString(IID_IBDSModuleServices70));
    EXPECT_EQ(korvel::IID_IOTAEditorServices, rtl::GUIDToString(IID_IBDSEditorServices80));
}

// One package object behind several interface pointers, each a table of plain functions
// that note "<interface> <slot>" and answer -1, 0 or nil.
struct CObject;
struct CInterface {
    void* const* vtable;
    CObject* object;
    const char* name;
    GUID id;
};
struct CTable {
    void* const* vtable;
    const char* name;
    GUID id;
};
struct CObject {
    explicit CObject(std::initializer_list<CTable> tables) {
        interfaces.reserve(tables.size());
        for (const CTable& table : tables) interfaces.push_back({table.vtable, this, table.name, table.id});
    }
    std::vector<CInterface> interfaces;
    ULONG references = 1;
    std::vector<std::string> hits;
};

HRESULT STDMETHODCALLTYPE CQueryInterface(CInterface* self, REFIID iid, void** out) {
    *out = nullptr;
    for (CInterface& other : self->object->interfaces)
        if (iid == IID_IUnknown || iid == other.id) {
            ++self->object->references;
            *out = &other;
            return S_OK;
        }
    return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE CAddRef(CInterface* self) { return ++self->object->references; }
ULONG STDMETHODCALLTYPE CRelease(CInterface* self) { return --self->object->references; }

template <int Slot, class Result, class... Args>
Result STDMETHODCALLTYPE Hit(CInterface* self, Args...) {
    self->object->hits.push_back(std::string(self->name) + " " + std::to_string(Slot));
    if constexpr (std::is_pointer_v<Result>) return nullptr;
    else if constexpr (!std::is_void_v<Result>) return Result(-1);
}

#define UNKNOWN_SLOTS reinterpret_cast<void*>(&CQueryInterface), reinterpret_cast<void*>(&CAddRef), \
                      reinterpret_cast<void*>(&CRelease)
#define SLOT(n, ...) reinterpret_cast<void*>(&Hit<n, __VA_ARGS__>)

void* const NotifierTable[] = {UNKNOWN_SLOTS, SLOT(3, LongBool), SLOT(4, LongBool), SLOT(5, void), SLOT(6, void)};
void* const ModuleNotifierTable[] = {UNKNOWN_SLOTS, SLOT(3, LongBool), SLOT(4, void, BSTR)};
void* const ModuleNotifier80Table[] = {UNKNOWN_SLOTS, SLOT(3, LongBool), SLOT(4, Integer),
                                       SLOT(5, const WCHAR*, Integer), SLOT(6, void, BSTR)};
void* const ModuleNotifier90Table[] = {UNKNOWN_SLOTS, SLOT(3, void, BSTR, BSTR), SLOT(4, void, BSTR, BSTR)};
void* const EditorNotifierTable[] = {UNKNOWN_SLOTS, SLOT(3, void, void*, Integer), SLOT(4, void, void*)};
void* const EditServicesNotifierTable[] = {
    UNKNOWN_SLOTS, SLOT(3, LongBool), SLOT(4, LongBool), SLOT(5, void), SLOT(6, void),
    SLOT(7, void, void*, Boolean, Boolean), SLOT(8, void, void*, Integer), SLOT(9, void, void*),
    SLOT(10, void, void*, Integer, Integer, Boolean*), SLOT(11, void, void*, void*), SLOT(12, void, void*, void*),
    SLOT(13, void, void*, void*), SLOT(14, void, void*, void*), SLOT(15, void, void*, void*)};

#undef SLOT
#undef UNKNOWN_SLOTS

TEST(ToolsApiWire, ModuleAndEditorNotificationsReachTheDeclaredSlots) {
    CObject package{{NotifierTable, "Notifier", IID_IBDSNotifier},
                    {ModuleNotifierTable, "ModuleNotifier", IID_IBDSModuleNotifier},
                    {ModuleNotifier80Table, "ModuleNotifier80", IID_IBDSModuleNotifier80},
                    {ModuleNotifier90Table, "ModuleNotifier90", IID_IBDSModuleNotifier90},
                    {EditorNotifierTable, "EditorNotifier", IID_IBDSEditorNotifier}};
    {
        rtl::ComPtr<korvel::TBDSAnyNotifierWrapper> wrapper(
            new korvel::TBDSAnyNotifierWrapper(reinterpret_cast<IUnknown*>(&package.interfaces[1])));
        ide::IOTAModuleNotifier90& module = *wrapper.Get();
        ide::IOTAEditorNotifier& editor = *wrapper.Get();
        module.AfterSave();
        module.BeforeSave();
        module.Destroyed();
        module.Modified();
        module.CheckOverwrite();
        module.ModuleRenamed(u"a");
        module.AllowSave();
        module.GetOverwriteFileNameCount();
        module.GetOverwriteFileName(0);
        module.SetSaveFileName(u"a");
        module.BeforeRename(u"a", u"b");
        module.AfterRename(u"a", u"b");
        editor.ViewNotification(nullptr, vcl::TOperation::opInsert);
        editor.ViewActivated(nullptr);
    }
    EXPECT_EQ(package.hits, (std::vector<std::string>{
                                "Notifier 3", "Notifier 4", "Notifier 5", "Notifier 6", "ModuleNotifier 3",
                                "ModuleNotifier 4", "ModuleNotifier80 3", "ModuleNotifier80 4", "ModuleNotifier80 5",
                                "ModuleNotifier80 6", "ModuleNotifier90 3", "ModuleNotifier90 4", "EditorNotifier 3",
                                "EditorNotifier 4"}));
    EXPECT_EQ(package.references, 1u);
}

TEST(ToolsApiWire, EditorServicesNotificationsReachTheDeclaredSlots) {
    CObject package{{EditServicesNotifierTable, "EditServices", IID_IBDSEditServicesNotifier}};
    {
        rtl::ComPtr<ide::INTAEditServicesNotifier> wrapper(new korvel::TBDSEditServicesNotifierWrapper(
            reinterpret_cast<IBDSEditServicesNotifier*>(&package.interfaces[0])));
        bool handled = false;
        wrapper->AfterSave();
        wrapper->BeforeSave();
        wrapper->Destroyed();
        wrapper->Modified();
        wrapper->WindowShow(nullptr, true, true);
        wrapper->WindowNotification(nullptr, vcl::TOperation::opInsert);
        wrapper->WindowActivated(nullptr);
        wrapper->WindowCommand(nullptr, 1, 2, handled);
        wrapper->EditorViewActivated(nullptr, nullptr);
        wrapper->EditorViewModified(nullptr, nullptr);
        wrapper->DockFormVisibleChanged(nullptr, nullptr);
        wrapper->DockFormUpdated(nullptr, nullptr);
        wrapper->DockFormRefresh(nullptr, nullptr);
    }
    std::vector<std::string> expected;
    for (int slot = 3; slot <= 15; ++slot) expected.push_back("EditServices " + std::to_string(slot));
    EXPECT_EQ(package.hits, expected);
    EXPECT_EQ(package.references, 1u);
}

}  // namespace
