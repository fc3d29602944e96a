// A package's module creator offered to the IDE. CreateModule makes one per call and hands
// it to the IDE, which holds it while it creates the module; then it releases the package's
// creator. The package's slot order differs from the IDE's (GetUnnamed before GetOwner);
// the owner the package names never reaches the IDE, nor the IDE's form editor the package.
#pragma once

#include "platform/ide/ToolsAPI.h"
#include "toolsapi/BDSPackageObjectWrapper.h"

namespace korvel {

class TBDSModuleCreatorWrapper final : public TBDSPackageObjectWrapper<IBDSModuleCreator, ide::IOTAModuleCreator> {
public:
    using TBDSPackageObjectWrapper::TBDSPackageObjectWrapper;

    // IOTACreator
    String STDMETHODCALLTYPE GetCreatorType() override;
    bool STDMETHODCALLTYPE GetExisting() override;
    String STDMETHODCALLTYPE GetFileSystem() override;
    rtl::ComPtr<ide::IOTAModule> STDMETHODCALLTYPE GetOwner() override;
    bool STDMETHODCALLTYPE GetUnnamed() override;
    // IOTAModuleCreator
    String STDMETHODCALLTYPE GetAncestorName() override;
    String STDMETHODCALLTYPE GetImplFileName() override;
    String STDMETHODCALLTYPE GetIntfFileName() override;
    String STDMETHODCALLTYPE GetFormName() override;
    bool STDMETHODCALLTYPE GetMainForm() override;
    bool STDMETHODCALLTYPE GetShowForm() override;
    bool STDMETHODCALLTYPE GetShowSource() override;
    rtl::ComPtr<ide::IOTAFile> STDMETHODCALLTYPE NewFormFile(const String& FormIdent, const String& AncestorIdent) override;
    rtl::ComPtr<ide::IOTAFile> STDMETHODCALLTYPE NewImplSource(const String& ModuleIdent, const String& FormIdent,
                                                               const String& AncestorIdent) override;
    rtl::ComPtr<ide::IOTAFile> STDMETHODCALLTYPE NewIntfSource(const String& ModuleIdent, const String& FormIdent,
                                                               const String& AncestorIdent) override;
    void STDMETHODCALLTYPE FormCreated(ide::IOTAFormEditor* FormEditor) override;

private:
    // The package's file, wrapped; its status code is not examined.
    template <class NewFile>
    rtl::ComPtr<ide::IOTAFile> AskFile(const char* method, NewFile&& newFile);
};

}  // namespace korvel
