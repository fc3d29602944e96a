// The Tools API: the module services, the modules and editors they hand out, the editor
// services, and the package's own objects the system wraps for the IDE: notifiers registered
// with modules, editors and editor services, file systems, and module creators.
#include "fuzz/ActionHelpers.h"
#include "fuzz/ToolsPackageObjects.h"
#include "platform/rtl/ComPtr.h"

namespace fuzz {
namespace {

const std::vector<String> ModuleNames{u"Unit1.pas", u"Doc.kdoc",  u"Form1.dfm",   u"",
                                      u"unit1.PAS", u"Other.pas", u"C:\\src\\\u00C4rger.pas"};
const std::vector<String> FormNames{u"Form1", u"", u"TForm1"};
const std::vector<String> Prefixes{u"Unit", u"", u"Fz", u"\u00C4rger"};

// A root service held, or asked of a held hub first as a package does (GetService, then
// QueryInterface for the interface it expects).
template <class Service>
Service* ToolsService(PackageSession& s, HeldReferences<Service>& held) {
    return HeldOrFetched(s, held, [&]() -> Service* {
        IBdsServices* hub = s.hubs.Pick(s.Input());
        if (!hub) return nullptr;
        const GUID& id = rtl::InterfaceTraits<Service>::Id();
        rtl::ComPtr<IUnknown> service;
        hub->GetService(&id, service.Put());
        void* typed = nullptr;
        if (service) service->QueryInterface(id, &typed);
        return static_cast<Service*>(typed);
    });
}

// A held module, or one the package asks the module services for first.
IBDSModule* Module(PackageSession& s) {
    return HeldOrFetched(s, s.modules, [&]() -> IBDSModule* {
        IBDSModule* module = nullptr;
        if (IBDSModuleServices70* services = ToolsService(s, s.moduleServices)) {
            if (s.Input().Coin())
                services->GetCurrentModule(&module);
            else
                services->GetModule(static_cast<Integer>(s.Input().Choose(3)), &module);
        }
        return module;
    });
}

// A held editor, or one the package asks a module for first.
IBDSEditor* Editor(PackageSession& s) {
    return HeldOrFetched(s, s.editors, [&]() -> IBDSEditor* {
        IBDSEditor* editor = nullptr;
        if (IBDSModule* module = Module(s)) {
            if (s.Input().Coin())
                module->GetCurrentEditor(&editor);
            else
                module->GetModuleFileEditor(static_cast<Integer>(s.Input().Choose(2)), &editor);
        }
        return editor;
    });
}

// A text result the package owns.
void FreeText(PWideChar text) { SysFreeString(text); }

// What a package passes for its own object: mostly the object, sometimes nil or an object of
// another kind.
IUnknown* Passed(PackageSession& s, IUnknown* object, IUnknown* stranger) {
    switch (s.Input().Choose(10)) {
        case 0: return nullptr;
        case 1: return stranger;
        default: return object;
    }
}

// Registers a new package object with `add` and tells it how to remove itself with `remove`;
// sometimes the package passes nil or an object of another kind instead. The IDE holds the
// registration; the package sometimes keeps a reference of its own as well.
template <class Object, class Target, class Declared>
void Register(PackageSession& s, Target* target, Integer (STDMETHODCALLTYPE Target::*add)(Declared*),
              void (STDMETHODCALLTYPE Target::*remove)(Integer)) {
    const rtl::ComPtr<Object> object = s.NewToolsObject<Object>();
    const rtl::ComPtr<CarelessSink> stranger = rtl::ComPtr<CarelessSink>::Adopt(s.NewSink(target));
    // The package passes its object for the declared interface; the system asks it what it offers.
    IUnknown* const passed = Passed(s, object->Unknown(), stranger->Unknown());
    const Integer index = (target->*add)(reinterpret_cast<Declared*>(passed));
    const rtl::ComPtr<Target> keep(target);
    object->Registered(target, [keep, remove, index] { (keep.Get()->*remove)(index); });
    if (s.Input().Coin()) s.others.Adopt(rtl::ComPtr<IUnknown>(object->Unknown()).Detach());
}

// A module made by the package's creator, or nil or an object of another kind in its place.
void CreateModule(PackageSession& s, IBDSModuleServices70& services) {
    const rtl::ComPtr<CarelessCreator> creator = s.NewToolsObject<CarelessCreator>();
    const rtl::ComPtr<CarelessSink> stranger = rtl::ComPtr<CarelessSink>::Adopt(s.NewSink(&services));
    creator->Registered(&services, nullptr);
    IUnknown* const passed = Passed(s, creator->Unknown(), stranger->Unknown());
    ReadObject(s, s.modules, [&](IBDSModule** out) { services.CreateModule(reinterpret_cast<IBDSCreator*>(passed), out); });
}

void RegisterFileSystem(PackageSession& s, IBDSModuleServices70& services) {
    Register<CarelessFileSystem>(s, &services, &IBDSModuleServices70::AddFileSystem,
                                 &IBDSModuleServices70::RemoveFileSystem);
}

// The package's own objects, more often than the module services' other calls.
void PackageObjectCall(PackageSession& s) {
    IBDSModuleServices70* services = ToolsService(s, s.moduleServices);
    if (!services) return;
    s.CountCall();
    if (s.Input().Coin())
        RegisterFileSystem(s, *services);
    else
        CreateModule(s, *services);
}

void ModuleServicesCall(PackageSession& s) {
    IBDSModuleServices70* services = ToolsService(s, s.moduleServices);
    if (!services) return;
    s.CountCall();
    FuzzInput& in = s.Input();
    switch (in.Choose(13)) {
        case 0: ReadObject(s, s.modules, [&](IBDSModule** out) { services->GetCurrentModule(out); }); break;
        case 1: services->ModuleCount(); break;
        case 2: services->NewModule(); break;
        case 3: CreateModule(s, *services); break;
        case 4: {
            const TextArgument prefix = s.Text(Prefixes);
            PWideChar unit = nullptr, className = nullptr, file = nullptr;
            services->GetNewModuleAndClassName(prefix, s.Out(&unit), s.Out(&className), s.Out(&file));
            FreeText(unit);
            FreeText(className);
            FreeText(file);
            break;
        }
        case 5: {
            const TextArgument name = s.Text(ModuleNames);
            ReadObject(s, s.modules, [&](IBDSModule** out) { services->FindModule(name, out); });
            break;
        }
        case 6: {
            const TextArgument name = s.Text(FormNames);
            ReadObject(s, s.modules, [&](IBDSModule** out) { services->FindFormModule(name, out); });
            break;
        }
        case 7: {
            const Integer index = in.Coin() ? static_cast<Integer>(in.Choose(4)) : in.Number();
            ReadObject(s, s.modules, [&](IBDSModule** out) { services->GetModule(index, out); });
            break;
        }
        case 8: services->SaveAll(); break;
        case 9: services->CloseAll(); break;
        case 10: RegisterFileSystem(s, *services); break;
        case 11: {
            const TextArgument name = s.Text(FileSystemNames());
            ReadObject(s, s.others, [&](IUnknown** out) {
                services->FindFileSystem(name, reinterpret_cast<IBDSFileSystem**>(out));
            });
            break;
        }
        default: services->RemoveFileSystem(in.Number()); break;
    }
}

void ModuleCall(PackageSession& s) {
    IBDSModule* module = Module(s);
    if (!module) return;
    s.CountCall();
    FuzzInput& in = s.Input();
    switch (in.Choose(21)) {
        case 0: FreeText(module->GetFileName()); break;
        case 1: {
            const TextArgument name = s.Text(ModuleNames);
            module->SetFileName(name);
            break;
        }
        case 2: FreeText(module->GetFileSystem()); break;
        case 3: {
            const TextArgument name = s.Text(FileSystemNames());
            module->SetFileSystem(name);
            break;
        }
        case 4: module->HasCoClasses(); break;
        case 5: module->GetModuleFileCount(); break;
        case 6: {
            const Integer index = in.Coin() ? static_cast<Integer>(in.Choose(2)) : in.Number();
            ReadObject(s, s.editors, [&](IBDSEditor** out) { module->GetModuleFileEditor(index, out); });
            break;
        }
        case 7: module->GetOwnerCount(); break;
        case 8: {
            const Integer index = in.Number();
            ReadObject(s, s.others, [&](IUnknown** out) { module->GetOwner(index, reinterpret_cast<IBDSProject**>(out)); });
            break;
        }
        case 9: module->AddToInterface(); break;
        case 10:
        case 11: Register<CarelessNotifier>(s, module, &IBDSModule::AddNotifier, &IBDSModule::RemoveNotifier); break;
        case 12: module->RemoveNotifier(in.Number()); break;
        case 13: module->Save(in.Number(), in.Number()); break;
        case 14: module->Close(); break;
        case 15: module->CloseModule(in.Number()); break;
        case 16: ReadObject(s, s.editors, [&](IBDSEditor** out) { module->GetCurrentEditor(out); }); break;
        case 17: module->GetOwnerModuleCount(); break;
        case 18: {
            const Integer index = in.Number();
            ReadObject(s, s.modules, [&](IBDSModule** out) { module->GetOwnerModule(index, out); });
            break;
        }
        case 19: module->MarkModified(); break;
        default: {
            const TextArgument name = s.Text(ModuleNames);
            if (in.Coin())
                module->ShowFilename(name);
            else
                module->Show();
            break;
        }
    }
}

void EditorCall(PackageSession& s) {
    IBDSEditor* editor = Editor(s);
    if (!editor) return;
    s.CountCall();
    switch (s.Input().Choose(8)) {
        case 0: editor->Dismiss(); break;
        case 1: FreeText(editor->GetFileName()); break;
        case 2: editor->GetModified(); break;
        case 3: ReadObject(s, s.modules, [&](IBDSModule** out) { editor->GetModule(out); }); break;
        case 4: editor->MarkModified(); break;
        case 5: editor->Show(); break;
        case 6: Register<CarelessNotifier>(s, editor, &IBDSEditor::AddNotifier, &IBDSEditor::RemoveNotifier); break;
        default: editor->RemoveNotifier(s.Input().Number()); break;
    }
}

void EditorServicesCall(PackageSession& s) {
    IBDSEditorServices80* services = ToolsService(s, s.editorServices);
    if (!services) return;
    s.CountCall();
    if (s.Input().Choose(3) == 0)
        services->RemoveNotifier(s.Input().Number());
    else
        Register<CarelessNotifier>(s, services, &IBDSEditorServices80::AddNotifier, &IBDSEditorServices80::RemoveNotifier);
}

}  // namespace

const std::vector<String>& FileSystemNames() {
    static const std::vector<String> names{u"Fz", u"Korvel.FileSystem", u"", u"fz", u"Fz\\Sub"};
    return names;
}

ActionTable ToolsApiActions() {
    return {{"module services", ModuleServicesCall},
            {"file system or creator", PackageObjectCall},
            {"module", ModuleCall},
            {"module", ModuleCall},
            {"editor", EditorCall},
            {"editor services", EditorServicesCall}};
}

}  // namespace fuzz
