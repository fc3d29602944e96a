#include "toolsapi/BDSModuleCreatorWrapper.h"

#include "toolsapi/BDSFileWrappers.h"

namespace korvel {

template <class NewFile>
rtl::ComPtr<ide::IOTAFile> TBDSModuleCreatorWrapper::AskFile(const char* method, NewFile&& newFile) {
    const auto file = Owned(AskOut<IBDSFile>(method, std::forward<NewFile>(newFile)));
    return WrapPackageObject<TBDSFileWrapper, ide::IOTAFile>(file);
}

String TBDSModuleCreatorWrapper::GetCreatorType() {
    return AskText("GetCreatorType", [](IBDSModuleCreator& c) { return c.GetCreatorType(); });
}

bool TBDSModuleCreatorWrapper::GetExisting() {
    return AskFlag("GetExisting", [](IBDSModuleCreator& c) { return c.GetExisting(); });
}

String TBDSModuleCreatorWrapper::GetFileSystem() {
    return AskText("GetFileSystem", [](IBDSModuleCreator& c) { return c.GetFileSystem(); });
}

// The package is asked, but the IDE gets no owner: the package's answer is let go.
rtl::ComPtr<ide::IOTAModule> TBDSModuleCreatorWrapper::GetOwner() {
    Owned(AskOut<IBDSModule>("GetOwner", [](IBDSModuleCreator& c, IBDSModule** owner) { c.GetOwner(owner); }));
    return nullptr;
}

bool TBDSModuleCreatorWrapper::GetUnnamed() {
    return AskFlag("GetUnnamed", [](IBDSModuleCreator& c) { return c.GetUnnamed(); });
}

String TBDSModuleCreatorWrapper::GetAncestorName() {
    return AskText("GetAncestorName", [](IBDSModuleCreator& c) { return c.GetAncestorName(); });
}

String TBDSModuleCreatorWrapper::GetImplFileName() {
    return AskText("GetImplFileName", [](IBDSModuleCreator& c) { return c.GetImplFileName(); });
}

String TBDSModuleCreatorWrapper::GetIntfFileName() {
    return AskText("GetIntfFileName", [](IBDSModuleCreator& c) { return c.GetIntfFileName(); });
}

String TBDSModuleCreatorWrapper::GetFormName() {
    return AskText("GetFormName", [](IBDSModuleCreator& c) { return c.GetFormName(); });
}

bool TBDSModuleCreatorWrapper::GetMainForm() {
    return AskFlag("GetMainForm", [](IBDSModuleCreator& c) { return c.GetMainForm(); });
}

bool TBDSModuleCreatorWrapper::GetShowForm() {
    return AskFlag("GetShowForm", [](IBDSModuleCreator& c) { return c.GetShowForm(); });
}

bool TBDSModuleCreatorWrapper::GetShowSource() {
    return AskFlag("GetShowSource", [](IBDSModuleCreator& c) { return c.GetShowSource(); });
}

rtl::ComPtr<ide::IOTAFile> TBDSModuleCreatorWrapper::NewFormFile(const String& FormIdent, const String& AncestorIdent) {
    const rtl::WideString form(FormIdent);
    const rtl::WideString ancestor(AncestorIdent);
    return AskFile("NewFormFile", [&](IBDSModuleCreator& creator, IBDSFile** file) {
        creator.NewFormFile(form.Get(), ancestor.Get(), file);
    });
}

rtl::ComPtr<ide::IOTAFile> TBDSModuleCreatorWrapper::NewImplSource(const String& ModuleIdent, const String& FormIdent,
                                                                   const String& AncestorIdent) {
    const rtl::WideString module(ModuleIdent);
    const rtl::WideString form(FormIdent);
    const rtl::WideString ancestor(AncestorIdent);
    return AskFile("NewImplSource", [&](IBDSModuleCreator& creator, IBDSFile** file) {
        creator.NewImplSource(module.Get(), form.Get(), ancestor.Get(), file);
    });
}

rtl::ComPtr<ide::IOTAFile> TBDSModuleCreatorWrapper::NewIntfSource(const String& ModuleIdent, const String& FormIdent,
                                                                   const String& AncestorIdent) {
    const rtl::WideString module(ModuleIdent);
    const rtl::WideString form(FormIdent);
    const rtl::WideString ancestor(AncestorIdent);
    return AskFile("NewIntfSource", [&](IBDSModuleCreator& creator, IBDSFile** file) {
        creator.NewIntfSource(module.Get(), form.Get(), ancestor.Get(), file);
    });
}

void TBDSModuleCreatorWrapper::FormCreated(ide::IOTAFormEditor*) {
    Tell("FormCreated", [](IBDSModuleCreator& creator) { creator.FormCreated(nullptr); });
}

}  // namespace korvel
