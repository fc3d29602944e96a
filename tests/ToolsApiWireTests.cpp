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
void* const FileTable[] = {UNKNOWN_SLOTS, SLOT(3, const WCHAR*), SLOT(4, int64_t)};
void* const FileSystemTable[] = {
    UNKNOWN_SLOTS, SLOT(3, const WCHAR*), SLOT(4, void, void*), SLOT(5, Boolean), SLOT(6, void, BSTR, Integer, void*),
    SLOT(7, Integer, BSTR), SLOT(8, Boolean, BSTR, BSTR), SLOT(9, Boolean, BSTR), SLOT(10, Boolean, BSTR),
    SLOT(11, Boolean, BSTR), SLOT(12, const WCHAR*, BSTR), SLOT(13, const WCHAR*, BSTR)};
void* const FileFilterTable[] = {UNKNOWN_SLOTS, SLOT(3, const WCHAR*), SLOT(4, const WCHAR*),
                                 SLOT(5, void, BSTR, void*, void*), SLOT(6, Boolean, BSTR, void*)};
void* const ModuleCreatorTable[] = {
    UNKNOWN_SLOTS, SLOT(3, const WCHAR*), SLOT(4, LongBool), SLOT(5, const WCHAR*), SLOT(6, LongBool),
    SLOT(7, Integer, void*), SLOT(8, const WCHAR*), SLOT(9, const WCHAR*), SLOT(10, const WCHAR*),
    SLOT(11, const WCHAR*), SLOT(12, LongBool), SLOT(13, LongBool), SLOT(14, LongBool),
    SLOT(15, Integer, BSTR, BSTR, void*), SLOT(16, Integer, BSTR, BSTR, BSTR, void*),
    SLOT(17, Integer, BSTR, BSTR, BSTR, void*), SLOT(18, void, void*)};

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
            new korvel::TBDSAnyNotifierWrapper(rtl::PackageRef<IUnknown>(reinterpret_cast<IUnknown*>(&package.interfaces[1]))));
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
            rtl::PackageRef<IBDSEditServicesNotifier>(reinterpret_cast<IBDSEditServicesNotifier*>(&package.interfaces[0]))));
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

// The IDE calls its own slot order; the package's tables receive theirs (a creator's
// GetUnnamed comes before GetOwner on the package side).
TEST(ToolsApiWire, FileSystemFilterFileAndCreatorCallsReachTheDeclaredSlots) {
    CObject package{{FileSystemTable, "FileSystem", IID_IBDSFileSystem},
                    {FileFilterTable, "FileFilter", IID_IBDSFileFilter},
                    {FileTable, "File", IID_IBDSFile},
                    {ModuleCreatorTable, "ModuleCreator", IID_IBDSModuleCreator}};
    {
        using korvel::WrapPackageObject;
        auto fileSystem = WrapPackageObject<korvel::TBDSFileSystemWrapper, ide::IOTAFilteredFileSystem>(
            reinterpret_cast<IUnknown*>(&package.interfaces[0]));
        EXPECT_FALSE(fileSystem->GetFileStream(u"a", ide::fmOpenRead));
        EXPECT_EQ(fileSystem->FileAge(u"a"), -1);
        EXPECT_TRUE(fileSystem->RenameFile(u"a", u"b")) << "any non-zero byte is true";
        fileSystem->IsReadonly(u"a");
        EXPECT_TRUE(fileSystem->IsFileBased());
        fileSystem->DeleteFile(u"a");
        fileSystem->FileExists(u"a");
        EXPECT_EQ(fileSystem->GetTempFileName(u"a"), u"") << "a nil text is empty";
        fileSystem->GetBackupFileName(u"a");
        fileSystem->GetIDString();
        EXPECT_FALSE(fileSystem->GetFilter());
        auto filter = WrapPackageObject<korvel::TBDSFileFilterWrapper, ide::IOTAFileFilter>(
            reinterpret_cast<IUnknown*>(&package.interfaces[0]));
        filter->GetStream(u"a", nullptr);
        filter->HandlesStream(u"a", nullptr);
        filter->GetIDString();
        filter->GetDisplayName();
        auto file = WrapPackageObject<korvel::TBDSFileWrapper, ide::IOTAFile>(reinterpret_cast<IUnknown*>(&package.interfaces[0]));
        file->GetSource();
        file->GetAge();
        auto creator = WrapPackageObject<korvel::TBDSModuleCreatorWrapper, ide::IOTAModuleCreator>(
            reinterpret_cast<IUnknown*>(&package.interfaces[0]));
        creator->GetCreatorType();
        EXPECT_TRUE(creator->GetExisting());
        creator->GetFileSystem();
        EXPECT_FALSE(creator->GetOwner());
        creator->GetUnnamed();
        creator->GetAncestorName();
        creator->GetImplFileName();
        creator->GetIntfFileName();
        creator->GetFormName();
        creator->GetMainForm();
        creator->GetShowForm();
        creator->GetShowSource();
        EXPECT_FALSE(creator->NewFormFile(u"f", u"a"));
        creator->NewImplSource(u"m", u"f", u"a");
        creator->NewIntfSource(u"m", u"f", u"a");
        creator->FormCreated(nullptr);
    }
    EXPECT_EQ(package.hits,
              (std::vector<std::string>{
                  "FileSystem 6", "FileSystem 7", "FileSystem 8", "FileSystem 9", "FileSystem 5", "FileSystem 10",
                  "FileSystem 11", "FileSystem 12", "FileSystem 13", "FileSystem 3", "FileSystem 4", "FileFilter 5",
                  "FileFilter 6", "FileFilter 4", "FileFilter 3", "File 3", "File 4", "ModuleCreator 3",
                  "ModuleCreator 4", "ModuleCreator 5", "ModuleCreator 7", "ModuleCreator 6", "ModuleCreator 8",
                  "ModuleCreator 9", "ModuleCreator 10", "ModuleCreator 11", "ModuleCreator 12", "ModuleCreator 13",
                  "ModuleCreator 14", "ModuleCreator 15", "ModuleCreator 16", "ModuleCreator 17", "ModuleCreator 18"}));
    EXPECT_EQ(package.references, 1u) << "every wrapper let the package's object go";
}

}  // namespace
