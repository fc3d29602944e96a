// Package objects the IDE uses through the Tools API wrappers: an in-memory file system, a
// stream filter, a module creator and its files. Each logs the calls it receives as text.
#pragma once

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "interop/ToolsInterfaceBindings.h"
#include "platform/rtl/ComObject.h"
#include "platform/rtl/Streams.h"

namespace testing_support {

// Each file is a memory stream: writers get the file's own stream, readers a clone at its start.
class FakeFileSystem final : public rtl::ComObject<IBDSFileSystem> {
public:
    explicit FakeFileSystem(std::u16string id) : id_(std::move(id)) {}

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

    void Store(const std::u16string& name, const std::string& bytes);
    // Empty when there is no such file.
    std::string Content(const std::u16string& name) const;

    std::vector<std::string> calls;
    std::set<std::u16string> readOnly;
    Boolean fileBased = 0;
    rtl::ComPtr<IBDSFileFilter> filter;
    // The stream handed out last, to see it arrive unchanged.
    IStream* lastStream = nullptr;
    std::function<void(const std::string& call)> onCall;

private:
    void Log(std::string call);
    const WCHAR* Answer(std::u16string text);

    std::u16string id_;
    std::u16string answer_;
    std::map<std::u16string, rtl::ComPtr<IStream>> files_;
    int age_ = 1000;
    std::map<std::u16string, int> ages_;
};

// Handles every stream unless told to decline, and gives the same stream back.
class FakeFileFilter final : public rtl::ComObject<IBDSFileFilter> {
public:
    const WCHAR* STDMETHODCALLTYPE GetDisplayName() override { return rtl::W(u"Pass-through"); }
    const WCHAR* STDMETHODCALLTYPE GetIDString() override { return rtl::W(u"Fake.Filter"); }
    void STDMETHODCALLTYPE GetStream(BSTR FileName, IStream* Stream, IStream** Result) override;
    Boolean STDMETHODCALLTYPE HandlesStream(BSTR FileName, IStream* Stream) override;

    std::vector<std::string> calls;
    std::vector<IStream*> streams;  // every stream it was handed, in order
    Boolean handles = 1;
};

class FakeFile final : public rtl::ComObject<IBDSFile> {
public:
    FakeFile(std::u16string source, int64_t ageBits) : source_(std::move(source)), ageBits_(ageBits) {}
    const WCHAR* STDMETHODCALLTYPE GetSource() override { return rtl::W(source_); }
    int64_t STDMETHODCALLTYPE GetAge() override { return ageBits_; }

private:
    std::u16string source_;
    int64_t ageBits_;
};

// Answers as a test sets it up; offers IBDSModuleCreator, or only IBDSCreator.
class FakeModuleCreator final : public rtl::ComObject<IBDSModuleCreator, IBDSCreator> {
public:
    explicit FakeModuleCreator(bool moduleCreator = true) : moduleCreator_(moduleCreator) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;

    const WCHAR* STDMETHODCALLTYPE GetCreatorType() override;
    LongBool STDMETHODCALLTYPE GetExisting() override;
    const WCHAR* STDMETHODCALLTYPE GetFileSystem() override;
    LongBool STDMETHODCALLTYPE GetUnnamed() override;
    Integer STDMETHODCALLTYPE GetOwner(IBDSModule** Owner) override;
    const WCHAR* STDMETHODCALLTYPE GetAncestorName() override;
    const WCHAR* STDMETHODCALLTYPE GetImplFileName() override;
    const WCHAR* STDMETHODCALLTYPE GetIntfFileName() override;
    const WCHAR* STDMETHODCALLTYPE GetFormName() override;
    LongBool STDMETHODCALLTYPE GetMainForm() override;
    LongBool STDMETHODCALLTYPE GetShowForm() override;
    LongBool STDMETHODCALLTYPE GetShowSource() override;
    Integer STDMETHODCALLTYPE NewFormFile(BSTR FormIdent, BSTR AncestorIdent, IBDSFile** File) override;
    Integer STDMETHODCALLTYPE NewImplSource(BSTR ModuleIdent, BSTR FormIdent, BSTR AncestorIdent, IBDSFile** File) override;
    Integer STDMETHODCALLTYPE NewIntfSource(BSTR ModuleIdent, BSTR FormIdent, BSTR AncestorIdent, IBDSFile** File) override;
    void STDMETHODCALLTYPE FormCreated(IBDSFormEditor* FormEditor) override;

    std::vector<std::string> calls;
    std::u16string creatorType = u"Form";
    std::u16string fileSystem;
    std::u16string implFileName;
    LongBool mainForm = 2;
    rtl::ComPtr<IBDSModule> owner;
    rtl::ComPtr<IBDSFile> formFile;
    rtl::ComPtr<IBDSFile> implSource;
    rtl::ComPtr<IBDSFile> intfSource;

private:
    void Log(std::string call);
    bool moduleCreator_;
};

}  // namespace testing_support
