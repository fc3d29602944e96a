#include "SampleModuleCreator.h"

#include <cstring>

#include "SampleCommon.h"
#include "SampleFileSystem.h"

namespace sample {
namespace {

// 1 January 2012, 00:00, as an OLE date.
constexpr double SourceDate = 40909.0;

const WCHAR* Literal(const char16_t* text) { return reinterpret_cast<const WCHAR*>(text); }

class SampleFile final : public ComObject<IBDSFile> {
public:
    explicit SampleFile(Text source) : source_(std::move(source)) {}
    const WCHAR* STDMETHODCALLTYPE GetSource() override { return Wide(source_); }
    // The date's double, bit for bit, in the integer.
    int64_t STDMETHODCALLTYPE GetAge() override {
        int64_t bits = 0;
        std::memcpy(&bits, &SourceDate, sizeof(bits));
        return bits;
    }

private:
    Text source_;
};

Integer HandOutFile(Text source, IBDSFile** File) {
    if (!File) return E_POINTER;
    *File = nullptr;
    return Guarded([&] {
        *File = ComRef<IBDSFile>(new SampleFile(std::move(source))).Detach();
        return S_OK;
    });
}

// A unit with a form, named by the package, in the sample's file system.
class SampleModuleCreator final : public ComObject<IBDSModuleCreator, IBDSCreator> {
public:
    const WCHAR* STDMETHODCALLTYPE GetCreatorType() override { return Literal(u"Form"); }
    LongBool STDMETHODCALLTYPE GetExisting() override { return 0; }
    const WCHAR* STDMETHODCALLTYPE GetFileSystem() override { return Literal(SampleFileSystem::Name); }
    LongBool STDMETHODCALLTYPE GetUnnamed() override { return 0; }
    Integer STDMETHODCALLTYPE GetOwner(IBDSModule** Owner) override {
        if (Owner) *Owner = nullptr;
        return S_OK;
    }
    const WCHAR* STDMETHODCALLTYPE GetAncestorName() override { return Literal(u"Form"); }
    const WCHAR* STDMETHODCALLTYPE GetImplFileName() override { return Literal(SampleModules::UnitFileName); }
    const WCHAR* STDMETHODCALLTYPE GetIntfFileName() override { return Literal(u""); }
    const WCHAR* STDMETHODCALLTYPE GetFormName() override { return Literal(u"KorvelForm"); }
    LongBool STDMETHODCALLTYPE GetMainForm() override { return 0; }
    LongBool STDMETHODCALLTYPE GetShowForm() override { return LongTrue; }
    LongBool STDMETHODCALLTYPE GetShowSource() override { return LongTrue; }
    Integer STDMETHODCALLTYPE NewFormFile(BSTR FormIdent, BSTR AncestorIdent, IBDSFile** File) override {
        return HandOutFile(u"object " + FromBstr(FormIdent) + u": T" + FromBstr(FormIdent) + u"\n  Caption = '" +
                               FromBstr(FormIdent) + u"'\nend\n",
                           File);
    }
    Integer STDMETHODCALLTYPE NewImplSource(BSTR ModuleIdent, BSTR FormIdent, BSTR AncestorIdent,
                                            IBDSFile** File) override {
        const Text form = FromBstr(FormIdent);
        return HandOutFile(u"unit " + FromBstr(ModuleIdent) + u";\n\ninterface\n\nuses Forms;\n\ntype\n  T" + form +
                               u" = class(T" + FromBstr(AncestorIdent) + u")\n  end;\n\nvar\n  " + form + u": T" +
                               form + u";\n\nimplementation\n\n{$R *.dfm}\n\nend.\n",
                           File);
    }
    // A Delphi unit has no separate interface file.
    Integer STDMETHODCALLTYPE NewIntfSource(BSTR, BSTR, BSTR, IBDSFile** File) override {
        if (File) *File = nullptr;
        return S_OK;
    }
    void STDMETHODCALLTYPE FormCreated(IBDSFormEditor*) override {
        Quietly([] { SampleReport(u"the form of the new unit was created"); });
    }
};

}  // namespace

SampleModules::~SampleModules() {
    if (modules_ && fileSystemIndex_ >= 0) modules_->RemoveFileSystem(fileSystemIndex_);
}

void SampleModules::Add(const ComRef<IBdsServices>& site) {
    modules_ = ServiceOf<IBDSModuleServices70>(*site.Get(), IID_IBDSModuleServices70);
    if (!modules_) return;
    fileSystemIndex_ = modules_->AddFileSystem(ComRef<IBDSFileSystem>(new SampleFileSystem).Get());
    ComRef<IBdsMenuBarService> menuBar;
    if (!menuBar.Received(site->Get_BdsMenuBarService(menuBar.Put()))) return;
    AddItemAfter(*menuBar.Get(), u"ToolsMenu\\KorvelSampleItem", u"KorvelSampleNewUnitItem",
                 u"Korvel Sample New &Form Unit", newUnitItem_, [this] { CreateFormUnit(); });
}

void SampleModules::CreateFormUnit() {
    const ComRef<IBDSCreator> creator(new SampleModuleCreator);
    ComRef<IBDSModule> module;
    const Integer status = modules_->CreateModule(creator.Get(), module.Put());
    if (FAILED(status) || !module) return SampleReport(u"no unit was created");
    PWideChar fileName = module->GetFileName();
    SampleReport(u"created " + FromWideString(fileName));
    SysFreeString(fileName);
}

}  // namespace sample
