// The package's own Tools API objects, which the system wraps for the IDE: notifiers, file
// systems, stream filters, module creators and files. Each is counted while it lives, so the
// fuzzer sees the IDE and the system gave back every reference they took.
#pragma once

#include <functional>
#include <map>

#include "fuzz/PackageObjects.h"
#include "interop/ToolsInterfaceBindings.h"
#include "platform/rtl/ComPtr.h"

namespace fuzz {

// What every one of them shares. It offers the interfaces the input picks when it is made
// (all, some or none; a refusal may lie: success with nil, or a failure that still writes a
// pointer). In each call the session decides what the package does, and the object may first
// undo its own registration. Once registered it holds, through `removeSelf`, a reference on
// what it registered with, as a package keeps its module to unregister later; that reference
// ends when it removes its registration from inside, when it hears it is let go
// (Unregistered), or with the object.
class PackageToolsObject : public Counted {
public:
    PackageToolsObject(PackageSession& session, const char* origin);
    // `owner` is the object it was registered with, `removeSelf` undoes that registration.
    void Registered(const void* owner, std::function<void()> removeSelf);

protected:
    // A call from the system: counted, then whatever the package does in it.
    void Called();
    void Unregistered() { removeSelf_ = nullptr; }
    bool Offers(size_t interfaceIndex) const { return (offered_ >> interfaceIndex) & 1u; }
    HRESULT Refuse(IUnknown* self, void** out);
    // Answers as a careless package gives them: text that stays valid until the next answer
    // (or nil), any LongBool, any byte for a one-byte Boolean.
    const WCHAR* AnswerText(const std::vector<rtl::String>& known);
    LongBool AnswerFlag();
    Boolean AnswerBoolean();
    // What `removeSelf` undoes, handed on to the objects this one gives out.
    const std::function<void()>& RemoveSelf() const { return removeSelf_; }
    const void* Owner() const { return owner_; }

    PackageSession& session_;

private:
    unsigned offered_;
    const void* owner_ = nullptr;
    std::function<void()> removeSelf_;
    rtl::String answer_;
};

template <class... Interfaces>
class CarelessToolsObject : public rtl::ComObject<Interfaces...>, public PackageToolsObject {
public:
    using PackageToolsObject::PackageToolsObject;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        const GUID* const ids[] = {&rtl::InterfaceTraits<Interfaces>::Id()...};
        for (size_t index = 0; index < sizeof...(Interfaces); ++index)
            if (iid == *ids[index] && !Offers(index)) return Refuse(this->Unknown(), out);
        return rtl::ComObject<Interfaces...>::QueryInterface(iid, out);
    }
};

class CarelessNotifier : public CarelessToolsObject<IBDSNotifier, IBDSModuleNotifier, IBDSModuleNotifier80,
                                                   IBDSModuleNotifier90, IBDSEditorNotifier, IBDSEditServicesNotifier> {
public:
    using CarelessToolsObject::CarelessToolsObject;

    LongBool STDMETHODCALLTYPE AfterSave() override { return Answer(); }
    LongBool STDMETHODCALLTYPE BeforeSave() override { return Answer(); }
    // The watched object is going: a package lets go of it then.
    void STDMETHODCALLTYPE Destroyed() override;
    void STDMETHODCALLTYPE Modified() override { Called(); }
    LongBool STDMETHODCALLTYPE CheckOverwrite() override { return Answer(); }
    void STDMETHODCALLTYPE ModuleRenamed(BSTR) override { Called(); }
    LongBool STDMETHODCALLTYPE AllowSave() override { return Answer(); }
    Integer STDMETHODCALLTYPE GetOverwriteFileNameCount() override;
    const WCHAR* STDMETHODCALLTYPE GetOverwriteFileName(Integer Index) override;
    void STDMETHODCALLTYPE SetSaveFileName(BSTR) override { Called(); }
    void STDMETHODCALLTYPE BeforeRename(BSTR, BSTR) override { Called(); }
    void STDMETHODCALLTYPE AfterRename(BSTR, BSTR) override { Called(); }
    void STDMETHODCALLTYPE ViewNotification(IBDSEditView*, Integer) override { Called(); }
    void STDMETHODCALLTYPE ViewActivated(IBDSEditView*) override { Called(); }
    void STDMETHODCALLTYPE WindowShow(IBDSEditWindow*, Boolean, Boolean) override { Called(); }
    void STDMETHODCALLTYPE WindowNotification(IBDSEditWindow*, Integer) override { Called(); }
    void STDMETHODCALLTYPE WindowActivated(IBDSEditWindow*) override { Called(); }
    void STDMETHODCALLTYPE WindowCommand(IBDSEditWindow*, Integer, Integer, Boolean* Handled) override;
    void STDMETHODCALLTYPE EditorViewActivated(IBDSEditWindow*, IBDSEditView*) override { Called(); }
    void STDMETHODCALLTYPE EditorViewModified(IBDSEditWindow*, IBDSEditView*) override { Called(); }
    void STDMETHODCALLTYPE DockFormVisibleChanged(IBDSEditWindow*, IDockForm*) override { Called(); }
    void STDMETHODCALLTYPE DockFormUpdated(IBDSEditWindow*, IDockForm*) override { Called(); }
    void STDMETHODCALLTYPE DockFormRefresh(IBDSEditWindow*, IDockForm*) override { Called(); }

private:
    LongBool Answer();
};

// A stream filter a file system hands out: it passes the IDE's stream on, swaps it for
// another, or gives none.
class CarelessFileFilter : public CarelessToolsObject<IBDSFileFilter> {
public:
    using CarelessToolsObject::CarelessToolsObject;

    const WCHAR* STDMETHODCALLTYPE GetDisplayName() override;
    const WCHAR* STDMETHODCALLTYPE GetIDString() override;
    void STDMETHODCALLTYPE GetStream(BSTR FileName, IStream* Stream, IStream** Result) override;
    Boolean STDMETHODCALLTYPE HandlesStream(BSTR FileName, IStream* Stream) override;
};

// A file system that keeps its files as memory streams, tells the truth about them mostly,
// and sometimes answers anything, drops its files and filter, or removes itself mid-call.
class CarelessFileSystem : public CarelessToolsObject<IBDSFileSystem> {
public:
    using CarelessToolsObject::CarelessToolsObject;

    const WCHAR* STDMETHODCALLTYPE GetIDString() override;
    void STDMETHODCALLTYPE GetFilter(IBDSFileFilter** Filter) override;
    Boolean STDMETHODCALLTYPE IsFileBased() override;
    void STDMETHODCALLTYPE GetFileStream(BSTR FileName, Integer Mode, IStream** Stream) override;
    Integer STDMETHODCALLTYPE FileAge(BSTR FileName) override;
    Boolean STDMETHODCALLTYPE RenameFile(BSTR OldName, BSTR NewName) override;
    Boolean STDMETHODCALLTYPE IsReadonly(BSTR FileName) override;
    Boolean STDMETHODCALLTYPE DeleteFile(BSTR FileName) override;
    Boolean STDMETHODCALLTYPE FileExists(BSTR FileName) override;
    const WCHAR* STDMETHODCALLTYPE GetTempFileName(BSTR FileName) override;
    const WCHAR* STDMETHODCALLTYPE GetBackupFileName(BSTR FileName) override;

private:
    // A call about one file; may drop what the file system holds first.
    void CalledAbout();
    // The truth about a file, or any byte.
    Boolean Fact(bool truth);
    const WCHAR* NameBeside(BSTR FileName, const rtl::String& suffix);

    std::map<rtl::String, rtl::ComPtr<IStream>> files_;
    rtl::ComPtr<CarelessFileFilter> filter_;
    int age_ = 0;
};

class CarelessFile : public CarelessToolsObject<IBDSFile> {
public:
    using CarelessToolsObject::CarelessToolsObject;

    const WCHAR* STDMETHODCALLTYPE GetSource() override;
    int64_t STDMETHODCALLTYPE GetAge() override;
};

// A module creator describing any module: names, file systems and flags from the input, an
// owner that may be any module it holds, files that may be nil or not files at all.
class CarelessCreator : public CarelessToolsObject<IBDSModuleCreator, IBDSCreator> {
public:
    using CarelessToolsObject::CarelessToolsObject;

    const WCHAR* STDMETHODCALLTYPE GetCreatorType() override;
    LongBool STDMETHODCALLTYPE GetExisting() override { return Flag(); }
    const WCHAR* STDMETHODCALLTYPE GetFileSystem() override;
    LongBool STDMETHODCALLTYPE GetUnnamed() override { return Flag(); }
    Integer STDMETHODCALLTYPE GetOwner(IBDSModule** Owner) override;
    const WCHAR* STDMETHODCALLTYPE GetAncestorName() override;
    const WCHAR* STDMETHODCALLTYPE GetImplFileName() override { return FileName(); }
    const WCHAR* STDMETHODCALLTYPE GetIntfFileName() override { return FileName(); }
    const WCHAR* STDMETHODCALLTYPE GetFormName() override;
    LongBool STDMETHODCALLTYPE GetMainForm() override { return Flag(); }
    LongBool STDMETHODCALLTYPE GetShowForm() override { return Flag(); }
    LongBool STDMETHODCALLTYPE GetShowSource() override { return Flag(); }
    Integer STDMETHODCALLTYPE NewFormFile(BSTR, BSTR, IBDSFile** File) override { return NewFile(File); }
    Integer STDMETHODCALLTYPE NewImplSource(BSTR, BSTR, BSTR, IBDSFile** File) override { return NewFile(File); }
    Integer STDMETHODCALLTYPE NewIntfSource(BSTR, BSTR, BSTR, IBDSFile** File) override { return NewFile(File); }
    void STDMETHODCALLTYPE FormCreated(IBDSFormEditor*) override { Called(); }

private:
    LongBool Flag();
    const WCHAR* FileName();
    Integer NewFile(IBDSFile** File);
};

}  // namespace fuzz
