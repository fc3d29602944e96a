// The Tools API wrappers as a package in another language meets them: every method by its
// slot, through the vtable, with the simulated IDE behind them.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "platform/rtl/Bstr.h"
#include "tests/support/FakeToolsNotifiers.h"
#include "tests/support/FakeToolsPackageObjects.h"
#include "tests/support/HubFixture.h"
#include "tests/support/VtableCall.h"

using namespace testing_support;
using Calls = std::vector<std::string>;

namespace {

// Slots of the package-facing interfaces, numbered from 1 as they are declared.
enum ModuleServicesSlot { GetCurrentModule = 1, ModuleCount, NewModule, CreateModule, GetNewModuleAndClassName,
                          FindModule, FindFormModule, GetModule, SaveAll, CloseAll, AddFileSystem, FindFileSystem,
                          RemoveFileSystem };
enum ModuleSlot { M_GetFileName = 1, M_SetFileName, M_GetFileSystem, M_SetFileSystem, M_HasCoClasses,
                  M_GetModuleFileCount, M_GetModuleFileEditor, M_GetOwnerCount, M_GetOwner, M_AddToInterface,
                  M_AddNotifier, M_RemoveNotifier, M_Save, M_Close, M_CloseModule, M_GetCurrentEditor,
                  M_GetOwnerModuleCount, M_GetOwnerModule, M_MarkModified, M_Show, M_ShowFilename };
enum EditorSlot { E_Dismiss = 1, E_GetFileName, E_GetModified, E_GetModule, E_MarkModified, E_Show, E_AddNotifier,
                  E_RemoveNotifier };

// Takes the BSTR a wrapper answered and frees it as the package must.
std::u16string Taken(PWideChar text) {
    std::u16string result = rtl::FromWide(text);
    SysFreeString(text);
    return result;
}

class ToolsApiTest : public HubFixture {
protected:
    void SetUp() override { EnterWithOnePackage(); }

    rtl::ComPtr<IUnknown> Service(const GUID& id) {
        rtl::ComPtr<IUnknown> service;
        EXPECT_EQ(Hub()->GetService(&id, service.Put()), S_OK);
        return service;
    }
    rtl::ComPtr<IBDSModuleServices70> ModuleServices() { return Service(IID_IBDSModuleServices70).Query<IBDSModuleServices70>(); }
    rtl::ComPtr<IBDSModule> ModuleAt(Integer index) {
        rtl::ComPtr<IBDSModule> module;
        EXPECT_EQ(CallMethod<Integer>(ModuleServices().Get(), GetModule, index, module.Put()), S_OK);
        return module;
    }
    rtl::ComPtr<IBDSEditor> EditorOf(IBDSModule* module, Integer index) {
        rtl::ComPtr<IBDSEditor> editor;
        CallMethod<void>(module, M_GetModuleFileEditor, index, editor.Put());
        return editor;
    }
    std::string SavedText(const char* name) {
        std::ifstream file(ide.Editors().SaveFolder() / name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(file), {});
    }
    const std::vector<std::u16string>& Lines() { return ide.Record().lines; }
};

TEST_F(ToolsApiTest, GetServiceKeepsOneModuleServicesWrapperAndMakesEditorServicesPerRequest) {
    IUnknown* first = Service(IID_IBDSModuleServices70).Get();  // released here
    EXPECT_EQ(Service(IID_IBDSModuleServices70).Get(), first);
    EXPECT_TRUE(Service(IID_IBDSModuleServices70).Query<IBDSModuleServices70>());
    auto editors = Service(IID_IBDSEditorServices80);
    EXPECT_NE(Service(IID_IBDSEditorServices80).Get(), editors.Get());
    EXPECT_TRUE(editors.Query<IBDSEditorServices80>());
    EXPECT_FALSE(Service(ide::IID_IOTAEditorServices)) << "the IDE's own services stay the IDE's";
}

TEST_F(ToolsApiTest, ModuleServicesListFindAndNameModules) {
    auto services = ModuleServices();
    IBDSModule* module = reinterpret_cast<IBDSModule*>(8);
    EXPECT_EQ(CallMethod<Integer>(services.Get(), GetCurrentModule, &module), S_OK);
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(CallMethod<Integer>(services.Get(), GetCurrentModule, nullptr), E_POINTER);

    ide.Editors().OpenFile(u"C:\\src\\Unit1.pas");
    EXPECT_EQ(CallMethod<LongBool>(services.Get(), NewModule), -1);
    EXPECT_EQ(CallMethod<Integer>(services.Get(), ModuleCount), 2);
    auto first = ModuleAt(0);
    auto again = ModuleAt(0);
    ASSERT_TRUE(first && again);
    EXPECT_NE(first.Get(), again.Get()) << "one wrapper per call";
    EXPECT_EQ(Taken(CallMethod<PWideChar>(again.Get(), M_GetFileName)), u"C:\\src\\Unit1.pas");
    EXPECT_FALSE(ModuleAt(7));

    rtl::ComPtr<IBDSModule> current, found, formModule;
    EXPECT_EQ(CallMethod<Integer>(services.Get(), GetCurrentModule, current.Put()), S_OK);
    EXPECT_EQ(Taken(CallMethod<PWideChar>(current.Get(), M_GetFileName)), u"Unit2.pas") << "the new module, named after the free unit name, is on top";
    EXPECT_EQ(CallMethod<Integer>(services.Get(), FindModule, u"c:\\src\\unit1.pas", found.Put()), S_OK);
    ASSERT_TRUE(found);
    EXPECT_EQ(CallMethod<Integer>(services.Get(), FindFormModule, u"Form1", formModule.Put()), S_OK);
    EXPECT_FALSE(formModule);

    PWideChar unit = nullptr, className = nullptr, fileName = nullptr;
    CallMethod<void>(services.Get(), GetNewModuleAndClassName, u"", &unit, &className, &fileName);
    EXPECT_EQ(Taken(unit), u"Unit3");
    EXPECT_EQ(Taken(className), u"TForm3");
    EXPECT_EQ(Taken(fileName), u"Unit3.pas");
    CallMethod<void>(services.Get(), GetNewModuleAndClassName, nullptr, nullptr, nullptr, nullptr);

    IBDSFileSystem* fileSystem = reinterpret_cast<IBDSFileSystem*>(8);
    EXPECT_EQ(CallMethod<Integer>(services.Get(), FindFileSystem, u"Any", &fileSystem), E_NOTIMPL);
    EXPECT_EQ(fileSystem, nullptr);
    EXPECT_EQ(CallMethod<Integer>(services.Get(), CreateModule, nullptr, &module), S_OK);
    EXPECT_EQ(module, nullptr);
    EXPECT_EQ(CallMethod<Integer>(services.Get(), AddFileSystem, nullptr), -1);
    CallMethod<void>(services.Get(), RemoveFileSystem, 0);

    CallMethod<void>(first.Get(), M_MarkModified);
    EXPECT_EQ(CallMethod<LongBool>(services.Get(), SaveAll), -1);
    EXPECT_EQ(SavedText("Unit1.pas"), "");
    EXPECT_EQ(CallMethod<LongBool>(services.Get(), CloseAll), -1);
    EXPECT_EQ(CallMethod<Integer>(services.Get(), ModuleCount), 0);
    EXPECT_EQ(Taken(CallMethod<PWideChar>(first.Get(), M_GetFileName)), u"C:\\src\\Unit1.pas")
        << "a closed module still answers";
}

TEST_F(ToolsApiTest, ModuleAndEditorWrappersForwardAndOwnersAnswerNone) {
    ide.Editors().OpenFile(u"Unit1.pas")->Source().Type(u"unit Unit1;");
    auto module = ModuleAt(0);
    EXPECT_EQ(CallMethod<Integer>(module.Get(), M_GetModuleFileCount), 1);
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_HasCoClasses), 0);
    CallMethod<void>(module.Get(), M_SetFileSystem, rtl::WideString(u"Memory").Get());
    EXPECT_EQ(Taken(CallMethod<PWideChar>(module.Get(), M_GetFileSystem)), u"Memory");
    EXPECT_EQ(CallMethod<Integer>(module.Get(), M_GetOwnerCount), 0);
    EXPECT_EQ(CallMethod<Integer>(module.Get(), M_GetOwnerModuleCount), 0);
    IBDSProject* project = reinterpret_cast<IBDSProject*>(8);
    CallMethod<void>(module.Get(), M_GetOwner, 0, &project);
    EXPECT_EQ(project, nullptr);
    IBDSModule* owner = reinterpret_cast<IBDSModule*>(8);
    CallMethod<void>(module.Get(), M_GetOwnerModule, 3, &owner);
    EXPECT_EQ(owner, nullptr) << "the IDE's list-index error stays on our side";
    CallMethod<void>(module.Get(), M_AddToInterface);
    CallMethod<void>(module.Get(), M_Show);
    CallMethod<void>(module.Get(), M_ShowFilename, u"Unit1.pas");

    auto editor = EditorOf(module.Get(), 0);
    ASSERT_TRUE(editor);
    EXPECT_FALSE(EditorOf(module.Get(), 4));
    rtl::ComPtr<IBDSEditor> current;
    CallMethod<void>(module.Get(), M_GetCurrentEditor, current.Put());
    EXPECT_TRUE(current);
    EXPECT_EQ(CallMethod<LongBool>(editor.Get(), E_GetModified), -1);
    EXPECT_EQ(Taken(CallMethod<PWideChar>(editor.Get(), E_GetFileName)), u"Unit1.pas");
    rtl::ComPtr<IBDSModule> of1, of2;
    EXPECT_EQ(CallMethod<Integer>(editor.Get(), E_GetModule, of1.Put()), S_OK);
    EXPECT_EQ(CallMethod<Integer>(editor.Get(), E_GetModule, of2.Put()), S_OK);
    EXPECT_EQ(of1.Get(), module.Get()) << "the module wrapper that made the editor";
    EXPECT_EQ(of2.Get(), module.Get());

    // Save(-1, 0) and Save(1, 0) both ask the user for a name (ChangeName), and a save-as
    // writes even an unmodified file; Save(0, 0) leaves an unmodified one alone.
    ide.Editors().AnswerNextSaveAs(u"Unit5.pas");
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, -1, 0), -1);
    EXPECT_EQ(SavedText("Unit5.pas"), "unit Unit1;");
    EXPECT_EQ(CallMethod<LongBool>(editor.Get(), E_GetModified), 0);
    const size_t noted = Lines().size();
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 0, 0), -1);
    EXPECT_EQ(Lines().size(), noted);
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 1, 0), -1);
    EXPECT_EQ(std::vector<std::u16string>(Lines().end() - 2, Lines().end()),
              (std::vector<std::u16string>{u"asked for a name to save Unit5.pas under", u"module Unit5.pas saved"}));
    CallMethod<void>(editor.Get(), E_Show);

    // A notifier removed after Dismiss is removed: the IDE calls it no more.
    rtl::ComPtr<FakeModuleNotifier> viewer(new FakeModuleNotifier({IID_IBDSNotifier}));
    const Integer viewerIndex = CallMethod<Integer>(editor.Get(), E_AddNotifier, viewer.Get());
    CallMethod<void>(editor.Get(), E_Dismiss);
    CallMethod<void>(editor.Get(), E_Dismiss);
    EXPECT_EQ(CallMethod<PWideChar>(editor.Get(), E_GetFileName), nullptr) << "a dismissed editor answers nothing";
    EXPECT_EQ(CallMethod<Integer>(editor.Get(), E_AddNotifier, nullptr), -1);
    CallMethod<void>(editor.Get(), E_RemoveNotifier, viewerIndex);
    EXPECT_EQ(viewer->RefCount(), 1u);
    EXPECT_EQ(CallMethod<Integer>(editor.Get(), E_GetModule, of1.Put()), S_OK);
    EXPECT_EQ(of1.Get(), module.Get()) << "and still knows its module";

    // A package in C may pass a plain string for a BSTR: it is read up to its terminator, and
    // never past the length a prefix gives.
    const char16_t plain[] = {0xFFFF, 0x7FFF, u'U', u'n', u'i', u't', u'9', u'.', u'p', u'a', u's', 0};
    CallMethod<void>(module.Get(), M_SetFileName, plain + 2);
    EXPECT_EQ(Taken(CallMethod<PWideChar>(module.Get(), M_GetFileName)), u"Unit9.pas");
    const char16_t unterminated[] = {6, 0, u'A', u'b', u'c', u'd', u'e'};
    CallMethod<void>(module.Get(), M_SetFileSystem, unterminated + 2);
    EXPECT_EQ(Taken(CallMethod<PWideChar>(module.Get(), M_GetFileSystem)), u"Abc");

    // A modified module closes only when forced.
    CallMethod<void>(module.Get(), M_MarkModified);
    EXPECT_TRUE(viewer->calls.empty());
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_CloseModule, 0), 0);
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Close), 0);
    EXPECT_EQ(Lines().back(), u"module Unit9.pas not closed: it has unsaved changes");
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_CloseModule, -1), -1);
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Close), 0) << "closed already";
    EXPECT_EQ(Lines().back(), u"module Unit9.pas closed");
}

TEST_F(ToolsApiTest, ModuleNotifiersHearTheSaveAndCanStopIt) {
    ide.Editors().OpenFile(u"Unit1.pas");
    auto module = ModuleAt(0);
    rtl::ComPtr<FakeModuleNotifier> base(new FakeModuleNotifier({IID_IBDSNotifier}));
    rtl::ComPtr<FakeModuleNotifier> all(new FakeModuleNotifier(FakeModuleNotifier::AllInterfaces()));
    const ULONG baseCount = base->RefCount();
    const ULONG allCount = all->RefCount();
    const Integer baseIndex = CallMethod<Integer>(module.Get(), M_AddNotifier, base.Get());
    const Integer allIndex = CallMethod<Integer>(module.Get(), M_AddNotifier, static_cast<IBDSModuleNotifier*>(all.Get()));
    EXPECT_EQ(baseIndex, 0) << "the IDE's index, unchanged";
    EXPECT_EQ(allIndex, 1);
    EXPECT_EQ(CallMethod<Integer>(module.Get(), M_AddNotifier, nullptr), -1);

    for (int burst = 0; burst < 50; ++burst) ide.Editors().OpenFile(u"Unit1.pas")->Source().Type(u"x");
    EXPECT_EQ(base->RefCount(), baseCount + 1) << "a burst leaves the wrapper's reference, and no more";
    all->overwriteNames = {u"Unit1.dfm"};
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 0, -1), -1);
    EXPECT_EQ(SavedText("Unit1.pas"), std::string(50, 'x'));
    EXPECT_EQ(base->calls.back(), "AfterSave");
    EXPECT_EQ(Calls(all->calls.end() - 4, all->calls.end()),
              (Calls{"GetOverwriteFileNameCount", "GetOverwriteFileName 0", "SetSaveFileName Unit1.pas", "AfterSave"}));

    // A package answering false to BeforeSave stops the save: the file stays as it was.
    base->saveAnswer = 0;
    ide.Editors().OpenFile(u"Unit1.pas")->Source().Type(u"y");
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 0, -1), 0);
    EXPECT_EQ(Lines().back(), u"saving Unit1.pas stopped by a notifier");
    EXPECT_EQ(SavedText("Unit1.pas"), std::string(50, 'x'));
    base->saveAnswer = -1;
    all->checkOverwriteAnswer = 0;
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 0, -1), 0);
    EXPECT_EQ(Lines().back(), u"overwriting Unit1.pas refused by a notifier");
    all->checkOverwriteAnswer = -1;

    // A notifier that delegates may offer the save's question only once its handler is set:
    // it is asked from then on, and its veto counts.
    base->Offer(IID_IBDSModuleNotifier80);
    base->allowSaveAnswer = 0;
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 0, -1), 0);
    EXPECT_EQ(Lines().back(), u"saving Unit1.pas refused by a notifier");
    EXPECT_EQ(base->calls.back(), "AllowSave");
    EXPECT_EQ(base->RefCount(), baseCount + 1);

    CallMethod<void>(module.Get(), M_RemoveNotifier, baseIndex);
    EXPECT_EQ(base->RefCount(), baseCount) << "the IDE let the wrapper go, and the wrapper the package's notifier";
    CallMethod<void>(module.Get(), M_RemoveNotifier, baseIndex);
    CallMethod<void>(module.Get(), M_RemoveNotifier, 99);

    all->calls.clear();
    CallMethod<void>(module.Get(), M_SetFileName, rtl::WideString(u"Unit2.pas").Get());
    EXPECT_EQ(all->calls, (Calls{"BeforeRename Unit1.pas Unit2.pas", "ModuleRenamed Unit2.pas",
                                 "AfterRename Unit1.pas Unit2.pas"}));
    ide.Editors().CloseFile(u"Unit2.pas");
    EXPECT_EQ(all->calls.back(), "Destroyed");
    EXPECT_EQ(all->RefCount(), allCount) << "closing released the registration";
}

TEST_F(ToolsApiTest, EditorNotifiersAndEditorServicesNotifiersFollowTheEditor) {
    auto editors = Service(IID_IBDSEditorServices80).Query<IBDSEditorServices80>();
    rtl::ComPtr<FakeEditServicesNotifier> windows(new FakeEditServicesNotifier);
    windows->handledCommand = 0x4B53;
    rtl::ComPtr<FakeModuleNotifier> wrong(new FakeModuleNotifier({IID_IBDSNotifier}));
    EXPECT_EQ(CallMethod<Integer>(editors.Get(), 1, reinterpret_cast<IBDSEditServicesNotifier*>(wrong.Get())), -1);
    EXPECT_EQ(CallMethod<Integer>(editors.Get(), 1, nullptr), -1);
    const Integer index = CallMethod<Integer>(editors.Get(), 1, windows.Get());
    EXPECT_GE(index, 0);
    editors = nullptr;  // the registration outlives the wrapper it was made through

    ide.Editors().OpenFile(u"Unit1.pas");
    auto editor = EditorOf(ModuleAt(0).Get(), 0);
    rtl::ComPtr<FakeModuleNotifier> viewer(new FakeModuleNotifier({IID_IBDSEditorNotifier, IID_IBDSNotifier}));
    EXPECT_EQ(CallMethod<Integer>(editor.Get(), E_AddNotifier, viewer.Get()), 0);
    ide.Editors().OpenFile(u"Unit1.pas")->Source().Type(u"x");
    EXPECT_TRUE(ide.Editors().SendEditorCommand(0x4B53, 1));
    EXPECT_FALSE(ide.Editors().SendEditorCommand(0x0001, 0));
    ide.Editors().CloseEditWindow();
    EXPECT_EQ(windows->calls,
              (Calls{"WindowNotification nil 0", "WindowShow nil 1 0", "WindowActivated nil", "EditorViewActivated nil nil",
                     "WindowActivated nil", "EditorViewActivated nil nil", "EditorViewModified nil nil",
                     "WindowCommand nil 19283 1", "WindowCommand nil 1 0", "WindowShow nil 0 0",
                     "WindowNotification nil 1"}));
    EXPECT_EQ(viewer->calls, (Calls{"ViewActivated nil", "Modified", "ViewNotification nil 1"}));

    CallMethod<void>(editor.Get(), E_RemoveNotifier, 0);
    EXPECT_EQ(viewer->RefCount(), 1u);
    editors = Service(IID_IBDSEditorServices80).Query<IBDSEditorServices80>();
    CallMethod<void>(editors.Get(), 2, index);
    EXPECT_EQ(windows->RefCount(), 1u);
}

// A package calling back in from its notifications: it closes the module being saved, and
// lets its own last module wrapper go while the IDE tells it Destroyed.
TEST_F(ToolsApiTest, PackagesMayCloseAndReleaseFromInsideNotifications) {
    ide.Editors().OpenFile(u"Unit1.pas");
    auto module = ModuleAt(0);
    rtl::ComPtr<FakeModuleNotifier> notifier(new FakeModuleNotifier({IID_IBDSNotifier}));
    notifier->onCall = [&](const std::string& call) {
        if (call == "BeforeSave") CallMethod<LongBool>(module.Get(), M_Close);
        if (call == "Destroyed") module = nullptr;
    };
    CallMethod<Integer>(module.Get(), M_AddNotifier, notifier.Get());
    IBDSModule* saving = module.Get();  // borrowed: the package's only reference is `module`
    EXPECT_EQ(CallMethod<LongBool>(saving, M_Save, 0, -1), 0);
    EXPECT_EQ(Lines().back(), u"module Unit1.pas was closed while it was saved");
    EXPECT_EQ(notifier->calls, (Calls{"BeforeSave", "Destroyed"}));
    EXPECT_EQ(module.Get(), nullptr);
    EXPECT_EQ(notifier->RefCount(), 1u);
}

// A package that keeps a closed module's wrappers cannot register with them: the IDE would
// never tell it Destroyed, and a notifier holding its module would live for good.
TEST_F(ToolsApiTest, ClosedModulesAndTheirEditorsTakeNoNotifier) {
    rtl::ComPtr<FakeModuleCreator> creator(new FakeModuleCreator);
    rtl::ComPtr<IBDSModule> module;
    CallMethod<Integer>(ModuleServices().Get(), CreateModule, static_cast<IBDSCreator*>(creator.Get()), module.Put());
    ASSERT_TRUE(module);
    auto editor = EditorOf(module.Get(), 0);
    auto formEditor = EditorOf(module.Get(), 1);
    ASSERT_TRUE(editor && formEditor);
    ide.Editors().CloseAll();
    rtl::ComPtr<FakeModuleNotifier> notifier(new FakeModuleNotifier(FakeModuleNotifier::AllInterfaces()));
    EXPECT_EQ(CallMethod<Integer>(module.Get(), M_AddNotifier, notifier.Get()), -1);
    EXPECT_EQ(CallMethod<Integer>(editor.Get(), E_AddNotifier, notifier.Get()), -1);
    EXPECT_EQ(CallMethod<Integer>(formEditor.Get(), E_AddNotifier, notifier.Get()), -1) << "nor its form file";
    EXPECT_EQ(notifier->RefCount(), 1u);
    EXPECT_TRUE(notifier->calls.empty());
}

// Who holds what at the end: the hub lets the module services go when the wizard shuts down,
// and the IDE tells the notifiers still registered Destroyed before it lets them go.
TEST_F(ToolsApiTest, ShutDownLetsGoOfTheIdeAndThePackagesNotifiers) {
    const ULONG idle = ide.Editors().RefCount();
    Service(IID_IBDSModuleServices70);
    EXPECT_EQ(ide.Editors().RefCount(), idle + 1) << "the hub keeps its wrapper, and the wrapper the IDE's services";
    ide.Editors().OpenFile(u"Unit1.pas");
    rtl::ComPtr<FakeModuleNotifier> notifier(new FakeModuleNotifier({IID_IBDSNotifier}));
    CallMethod<Integer>(ModuleAt(0).Get(), M_AddNotifier, notifier.Get());
    rtl::ComPtr<FakeFileSystem> fileSystem(new FakeFileSystem(u"Kept"));
    CallMethod<Integer>(ModuleServices().Get(), AddFileSystem, fileSystem.Get());
    IBdsServices* hub = Hub();  // kept by a package past the end, as the hub lives for good
    ShutDown();
    EXPECT_EQ(ide.Editors().RefCount(), idle);
    rtl::ComPtr<IUnknown> late;
    EXPECT_EQ(hub->GetService(&IID_IBDSModuleServices70, late.Put()), S_OK);
    EXPECT_FALSE(late) << "a late request makes no wrapper the hub would keep";
    EXPECT_EQ(ide.Editors().RefCount(), idle);
    EXPECT_EQ(notifier->RefCount(), 2u) << "the registration is the IDE's until it shuts down";
    EXPECT_EQ(fileSystem->RefCount(), 2u) << "so is a file system the package never removed";
    ide.Editors().ShutDown();
    EXPECT_EQ(notifier->calls, Calls{"Destroyed"});
    EXPECT_EQ(notifier->RefCount(), 1u);
    EXPECT_EQ(fileSystem->RefCount(), 1u);
}

// A package that keeps the module services past the IDE's end registers and creates nothing
// with the IDE that ended: nothing would ever let its objects go.
TEST_F(ToolsApiTest, ModuleServicesKeptPastTheIdesEndRegisterAndCreateNothing) {
    const auto services = ModuleServices();
    ShutDown();
    ide.Editors().ShutDown();
    rtl::ComPtr<FakeFileSystem> fileSystem(new FakeFileSystem(u"Late"));
    rtl::ComPtr<FakeModuleCreator> creator(new FakeModuleCreator);
    rtl::ComPtr<IBDSModule> created;
    EXPECT_EQ(CallMethod<Integer>(services.Get(), AddFileSystem, fileSystem.Get()), -1);
    EXPECT_EQ(CallMethod<Integer>(services.Get(), CreateModule, static_cast<IBDSCreator*>(creator.Get()), created.Put()),
              E_FAIL);
    EXPECT_FALSE(created);
    EXPECT_TRUE(creator->calls.empty());
    EXPECT_EQ(fileSystem->RefCount(), 1u);
    EXPECT_EQ(creator->RefCount(), 1u);
}

// The IDE reads, saves, backs up and renames a module of a package's file system through it,
// and lets the package's file system go when the package removes it.
TEST_F(ToolsApiTest, PackageFileSystemsHoldTheModulesTheIdeReadsSavesAndRenames) {
    auto services = ModuleServices();
    rtl::ComPtr<FakeFileSystem> memory(new FakeFileSystem(u"Memory"));
    rtl::ComPtr<FakeModuleNotifier> stranger(new FakeModuleNotifier({IID_IBDSNotifier}));
    EXPECT_EQ(CallMethod<Integer>(services.Get(), AddFileSystem, nullptr), -1);
    EXPECT_EQ(CallMethod<Integer>(services.Get(), AddFileSystem, reinterpret_cast<IBDSFileSystem*>(stranger.Get())), -1);
    EXPECT_EQ(stranger->RefCount(), 1u);
    const Integer index = CallMethod<Integer>(services.Get(), AddFileSystem, memory.Get());
    EXPECT_EQ(index, 0) << "nothing was registered before";
    EXPECT_EQ(memory->RefCount(), 2u);

    const std::string text = "unit Unit1; // Grüße, ∑ 𝄞";
    memory->Store(u"Unit1.pas", text);
    ASSERT_TRUE(ide.Editors().OpenFromFileSystem(u"Memory", u"Unit1.pas"));
    EXPECT_EQ(Lines().back(), u"module Unit1.pas read from Memory");
    EXPECT_EQ(rtl::ToUtf8(ide.Editors().OpenFile(u"Unit1.pas")->Source().Text()), text);
    memory->calls.clear();
    ide.Editors().OpenFile(u"Unit1.pas")->Source().Type(u"!");
    auto module = ModuleAt(0);
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 0, 0), -1);
    EXPECT_EQ(Lines().back(), u"module Unit1.pas saved to Memory");
    EXPECT_EQ(memory->Content(u"Unit1.pas"), text + "!");
    EXPECT_EQ(memory->calls,
              (Calls{"IsReadonly Unit1.pas", "FileExists Unit1.pas", "FileAge Unit1.pas", "GetTempFileName Unit1.pas",
                     "GetFileStream Unit1.pas.tmp 65296", "GetFilter", "FileExists Unit1.pas", "IsFileBased",
                     "DeleteFile Unit1.pas", "RenameFile Unit1.pas.tmp Unit1.pas", "FileAge Unit1.pas"}))
        << "a file system that is not file-based keeps no backup";

    // A file-based one keeps the old file as the backup, and sees streams through its filter.
    memory->fileBased = 1;
    rtl::ComPtr<FakeFileFilter> filter(new FakeFileFilter);
    memory->filter = rtl::ComPtr<IBDSFileFilter>(filter.Get());
    memory->calls.clear();
    CallMethod<void>(module.Get(), M_MarkModified);
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 0, 0), -1);
    EXPECT_EQ(memory->Content(u"Unit1.pas~"), text + "!");
    EXPECT_EQ(Calls(memory->calls.begin() + 8, memory->calls.end() - 1),
              (Calls{"GetBackupFileName Unit1.pas", "FileExists Unit1.pas~", "RenameFile Unit1.pas Unit1.pas~",
                     "RenameFile Unit1.pas.tmp Unit1.pas"}));
    EXPECT_EQ(filter->calls, (Calls{"HandlesStream Unit1.pas.tmp", "GetStream Unit1.pas.tmp"}));
    EXPECT_EQ(filter->streams, (std::vector<IStream*>{memory->lastStream, memory->lastStream}))
        << "the stream passes unchanged";
    EXPECT_EQ(filter->RefCount(), 2u) << "the IDE let the filter wrapper go";
    filter->handles = 0;
    filter->calls.clear();
    CallMethod<void>(module.Get(), M_MarkModified);
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 0, 0), -1);
    EXPECT_EQ(filter->calls, Calls{"HandlesStream Unit1.pas.tmp"}) << "a filter that declines is not asked for a stream";
    EXPECT_EQ(memory->Content(u"Unit1.pas"), text + "!");

    CallMethod<void>(module.Get(), M_SetFileName, rtl::WideString(u"Unit2.pas").Get());
    EXPECT_EQ(memory->calls.back(), "RenameFile Unit1.pas Unit2.pas") << "the old name first";
    EXPECT_EQ(memory->Content(u"Unit2.pas"), text + "!");
    memory->readOnly.insert(u"Unit2.pas");
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 0, -1), 0);
    EXPECT_EQ(Lines().back(), u"saving Unit2.pas refused: it is read-only in Memory");

    auto ideSide = ide.Editors().FindFileSystem(u"memory");
    ASSERT_TRUE(ideSide);
    EXPECT_FALSE(ideSide->GetFileStream(u"Nothing.pas", ide::fmOpenRead)) << "the package's nil stays nil";
    EXPECT_EQ(ideSide->GetFileStream(u"Unit2.pas", ide::fmOpenRead).Get(), memory->lastStream);
    EXPECT_FALSE(ide.Editors().OpenFromFileSystem(u"Memory", u"Nothing.pas"));
    EXPECT_EQ(Lines().back(), u"file system Memory has no file Nothing.pas to read");

    // A package that throws gives the IDE no answer; one that removes its file system while the
    // IDE saves through it still has the save finished.
    memory->readOnly.clear();
    memory->onCall = [](const std::string& call) {
        if (call.rfind("GetTempFileName", 0) == 0) throw std::runtime_error("package failure");
    };
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 0, -1), 0);
    EXPECT_EQ(Lines().back(), u"module Unit2.pas could not be written to Memory");
    memory->onCall = [](const std::string& call) {
        if (call.rfind("FileAge", 0) == 0) throw std::runtime_error("package failure");
    };
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 0, -1), -1);
    EXPECT_EQ(Lines().end()[-2], u"the age of Unit2.pas in Memory is unknown") << "a failing age is no date";
    memory->onCall = [&](const std::string& call) {
        if (call.rfind("IsReadonly", 0) == 0) CallMethod<void>(services.Get(), RemoveFileSystem, index);
    };
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 0, -1), -1);
    EXPECT_EQ(Lines().back(), u"module Unit2.pas saved to Memory");
    memory->onCall = nullptr;
    EXPECT_EQ(memory->RefCount(), 2u) << "the wrapper lives on only in the IDE's last answer";
    ideSide = nullptr;
    EXPECT_EQ(memory->RefCount(), 1u) << "its end released the package's file system";
    CallMethod<void>(services.Get(), RemoveFileSystem, index);
    CallMethod<void>(module.Get(), M_MarkModified);
    EXPECT_EQ(CallMethod<LongBool>(module.Get(), M_Save, 0, 0), -1);
    EXPECT_EQ(Lines().back(), u"module Unit2.pas saved") << "a file system no longer registered leaves it to the disk";
    EXPECT_EQ(SavedText("Unit2.pas"), text + "!");
}

// The creator is asked in the IDE's order; its owner never reaches the IDE, nor the IDE's form
// editor the package; a large source with characters beyond ASCII arrives intact.
TEST_F(ToolsApiTest, ModuleCreatorsAreAskedInTheIdesOrderAndTheirSourcesArriveIntact) {
    auto services = ModuleServices();
    ide.Editors().OpenFile(u"Unit1.pas");
    rtl::ComPtr<FakeModuleCreator> creator(new FakeModuleCreator);
    std::u16string source = u"unit Unit2; // Grüße, ∑ 𝄞\n";
    while (source.size() < 1024 * 1024) source += u"// ÄÖÜ äöü ß € 𝄞 and a line of plain text\n";
    const double newYear2012 = 40909.0;
    int64_t ageBits = 0;
    std::memcpy(&ageBits, &newYear2012, sizeof(ageBits));
    creator->implSource = rtl::ComPtr<IBDSFile>(new FakeFile(source, ageBits));
    creator->formFile = rtl::ComPtr<IBDSFile>(new FakeFile(u"object Form2: TForm2 end", ageBits));
    creator->intfSource = rtl::ComPtr<IBDSFile>(new FakeFile(u"// Unit2.h", ageBits));
    creator->owner = ModuleAt(0);
    rtl::ComPtr<IBDSModule> created;
    EXPECT_EQ(CallMethod<Integer>(services.Get(), CreateModule, static_cast<IBDSCreator*>(creator.Get()), created.Put()),
              S_OK);
    ASSERT_TRUE(created);
    EXPECT_EQ(creator->calls,
              (Calls{"GetCreatorType", "GetExisting", "GetFileSystem", "GetOwner", "GetUnnamed", "GetAncestorName",
                     "GetImplFileName", "GetIntfFileName", "GetFormName", "GetMainForm", "GetShowForm", "GetShowSource",
                     "NewFormFile Form2 Form", "NewImplSource Unit2 Form2 Form", "NewIntfSource Unit2 Form2 Form",
                     "FormCreated nil"}));
    EXPECT_EQ(creator->RefCount(), 1u) << "the IDE let the creator wrapper go once the module was made";
    EXPECT_EQ(creator->implSource.Get()->AddRef(), 2u) << "and the file wrappers";
    creator->implSource.Get()->Release();
    EXPECT_EQ(creator->owner.Get()->AddRef(), 2u) << "and the owner the package answered";
    creator->owner.Get()->Release();
    EXPECT_EQ(Lines().back(),
              u"module Unit2.pas created, source of 2012-01-01 00:00, interface Unit2.h, form Form2: Form (main form)");
    EXPECT_EQ(Taken(CallMethod<PWideChar>(created.Get(), M_GetFileName)), u"Unit2.pas");
    EXPECT_EQ(CallMethod<Integer>(created.Get(), M_GetModuleFileCount), 3) << "the source, its interface, the form file";
    rtl::ComPtr<IBDSEditor> header;
    CallMethod<void>(created.Get(), M_GetModuleFileEditor, 1, header.Put());
    ASSERT_TRUE(header);
    EXPECT_EQ(Taken(CallMethod<PWideChar>(header.Get(), E_GetFileName)), u"Unit2.h");
    EXPECT_TRUE(ide.Editors().OpenFile(u"Unit2.pas")->Source().Text() == source);

    rtl::ComPtr<FakeModuleCreator> plain(new FakeModuleCreator(false));
    IBDSModule* none = reinterpret_cast<IBDSModule*>(8);
    EXPECT_EQ(CallMethod<Integer>(services.Get(), CreateModule, static_cast<IBDSCreator*>(plain.Get()), &none), E_FAIL);
    EXPECT_EQ(none, nullptr);
    EXPECT_TRUE(plain->calls.empty()) << "a creator without IBDSModuleCreator is not asked anything";
    EXPECT_EQ(plain->RefCount(), 1u);
    EXPECT_EQ(CallMethod<Integer>(services.Get(), ModuleCount), 2);
}

}  // namespace
