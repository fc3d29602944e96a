#include "toolsapi/BDSModuleCreatorWrapper.h"

#include "toolsapi/BDSFileWrappers.h"

namespace korvel {

template <class Question>
String TBDSModuleCreatorWrapper::AskText(Question&& question) {
    return Ask(String(), [&](IBDSModuleCreator& creator) { return CopyPackageText(question(creator)); });
}

template <class Question>
bool TBDSModuleCreatorWrapper::AskFlag(Question&& question) {
    return Ask(false, [&](IBDSModuleCreator& creator) { return question(creator) != 0; });
}

template <class NewFile>
rtl::ComPtr<ide::IOTAFile> TBDSModuleCreatorWrapper::AskFile(NewFile&& newFile) {
    return Ask(rtl::ComPtr<ide::IOTAFile>(), [&](IBDSModuleCreator& creator) {
        rtl::ComPtr<IBDSFile> file;
        newFile(creator, file.Put());
        return WrapPackageObject<TBDSFileWrapper, ide::IOTAFile>(file.Get());
    });
}

String TBDSModuleCreatorWrapper::GetCreatorType() { return AskText([](IBDSModuleCreator& c) { return c.GetCreatorType(); }); }

bool TBDSModuleCreatorWrapper::GetExisting() { return AskFlag([](IBDSModuleCreator& c) { return c.GetExisting(); }); }

String TBDSModuleCreatorWrapper::GetFileSystem() { return AskText([](IBDSModuleCreator& c) { return c.GetFileSystem(); }); }

// The package is asked, but the IDE gets no owner: the package's answer is let go.
rtl::ComPtr<ide::IOTAModule> TBDSModuleCreatorWrapper::GetOwner() {
    Tell([](IBDSModuleCreator& creator) {
        rtl::ComPtr<IBDSModule> owner;
        creator.GetOwner(owner.Put());
    });
    return nullptr;
}

bool TBDSModuleCreatorWrapper::GetUnnamed() { return AskFlag([](IBDSModuleCreator& c) { return c.GetUnnamed(); }); }

String TBDSModuleCreatorWrapper::GetAncestorName() { return AskText([](IBDSModuleCreator& c) { return c.GetAncestorName(); }); }

String TBDSModuleCreatorWrapper::GetImplFileName() { return AskText([](IBDSModuleCreator& c) { return c.GetImplFileName(); }); }

String TBDSModuleCreatorWrapper::GetIntfFileName() { return AskText([](IBDSModuleCreator& c) { return c.GetIntfFileName(); }); }

String TBDSModuleCreatorWrapper::GetFormName() { return AskText([](IBDSModuleCreator& c) { return c.GetFormName(); }); }

bool TBDSModuleCreatorWrapper::GetMainForm() { return AskFlag([](IBDSModuleCreator& c) { return c.GetMainForm(); }); }

bool TBDSModuleCreatorWrapper::GetShowForm() { return AskFlag([](IBDSModuleCreator& c) { return c.GetShowForm(); }); }

bool TBDSModuleCreatorWrapper::GetShowSource() { return AskFlag([](IBDSModuleCreator& c) { return c.GetShowSource(); }); }

rtl::ComPtr<ide::IOTAFile> TBDSModuleCreatorWrapper::NewFormFile(const String& FormIdent, const String& AncestorIdent) {
    return AskFile([&](IBDSModuleCreator& creator, IBDSFile** file) {
        creator.NewFormFile(rtl::WideString(FormIdent).Get(), rtl::WideString(AncestorIdent).Get(), file);
    });
}

rtl::ComPtr<ide::IOTAFile> TBDSModuleCreatorWrapper::NewImplSource(const String& ModuleIdent, const String& FormIdent,
                                                                   const String& AncestorIdent) {
    return AskFile([&](IBDSModuleCreator& creator, IBDSFile** file) {
        creator.NewImplSource(rtl::WideString(ModuleIdent).Get(), rtl::WideString(FormIdent).Get(),
                              rtl::WideString(AncestorIdent).Get(), file);
    });
}

rtl::ComPtr<ide::IOTAFile> TBDSModuleCreatorWrapper::NewIntfSource(const String& ModuleIdent, const String& FormIdent,
                                                                   const String& AncestorIdent) {
    return AskFile([&](IBDSModuleCreator& creator, IBDSFile** file) {
        creator.NewIntfSource(rtl::WideString(ModuleIdent).Get(), rtl::WideString(FormIdent).Get(),
                              rtl::WideString(AncestorIdent).Get(), file);
    });
}

void TBDSModuleCreatorWrapper::FormCreated(ide::IOTAFormEditor*) {
    Tell([](IBDSModuleCreator& creator) { creator.FormCreated(nullptr); });
}

}  // namespace korvel
