#include "tests/support/FakeToolsPackageObjects.h"

#include "platform/rtl/Bstr.h"

namespace testing_support {
namespace {

std::string Text(BSTR text) { return rtl::ToUtf8(rtl::FromBstr(text)); }

}  // namespace

void FakeFileSystem::Log(std::string call) {
    calls.push_back(call);
    if (onCall) onCall(call);
}

const WCHAR* FakeFileSystem::Answer(std::u16string text) {
    answer_ = std::move(text);
    return rtl::W(answer_);
}

const WCHAR* FakeFileSystem::GetIDString() { return rtl::W(id_); }

void FakeFileSystem::GetFilter(IBDSFileFilter** Filter) {
    Log("GetFilter");
    filter.CopyTo(Filter);
}

Boolean FakeFileSystem::IsFileBased() {
    Log("IsFileBased");
    return fileBased;
}

void FakeFileSystem::GetFileStream(BSTR FileName, Integer Mode, IStream** Stream) {
    Log("GetFileStream " + Text(FileName) + " " + std::to_string(Mode));
    const std::u16string name = rtl::FromBstr(FileName);
    rtl::ComPtr<IStream> stream;
    if ((Mode & 0xFF00) == 0xFF00) {
        stream = rtl::NewMemoryStream();
        files_[name] = stream;
        ages_[name] = ++age_;
    } else if (const auto file = files_.find(name); file != files_.end()) {
        file->second->Clone(stream.Put());
        stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    }
    lastStream = stream.Get();
    stream.CopyTo(Stream);
}

Integer FakeFileSystem::FileAge(BSTR FileName) {
    Log("FileAge " + Text(FileName));
    const auto age = ages_.find(rtl::FromBstr(FileName));
    return age == ages_.end() ? -1 : age->second;
}

Boolean FakeFileSystem::RenameFile(BSTR OldName, BSTR NewName) {
    Log("RenameFile " + Text(OldName) + " " + Text(NewName));
    const auto file = files_.find(rtl::FromBstr(OldName));
    if (file == files_.end() || files_.count(rtl::FromBstr(NewName))) return 0;
    files_[rtl::FromBstr(NewName)] = file->second;
    ages_[rtl::FromBstr(NewName)] = ages_[file->first];
    files_.erase(file);
    return 1;
}

Boolean FakeFileSystem::IsReadonly(BSTR FileName) {
    Log("IsReadonly " + Text(FileName));
    return readOnly.count(rtl::FromBstr(FileName)) ? 1 : 0;
}

Boolean FakeFileSystem::DeleteFile(BSTR FileName) {
    Log("DeleteFile " + Text(FileName));
    return files_.erase(rtl::FromBstr(FileName)) ? 1 : 0;
}

Boolean FakeFileSystem::FileExists(BSTR FileName) {
    Log("FileExists " + Text(FileName));
    return files_.count(rtl::FromBstr(FileName)) ? 1 : 0;
}

const WCHAR* FakeFileSystem::GetTempFileName(BSTR FileName) {
    Log("GetTempFileName " + Text(FileName));
    return Answer(rtl::FromBstr(FileName) + u".tmp");
}

const WCHAR* FakeFileSystem::GetBackupFileName(BSTR FileName) {
    Log("GetBackupFileName " + Text(FileName));
    return Answer(rtl::FromBstr(FileName) + u"~");
}

void FakeFileSystem::Store(const std::u16string& name, const std::string& bytes) {
    files_[name] = rtl::NewMemoryStream();
    rtl::WriteWhole(*files_[name].Get(), bytes);
    ages_[name] = ++age_;
}

std::string FakeFileSystem::Content(const std::u16string& name) const {
    const auto file = files_.find(name);
    if (file == files_.end()) return {};
    rtl::ComPtr<IStream> reader;
    file->second->Clone(reader.Put());
    reader->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
    return rtl::ReadToEnd(*reader.Get());
}

void FakeFileFilter::GetStream(BSTR FileName, IStream* Stream, IStream** Result) {
    calls.push_back("GetStream " + Text(FileName));
    streams.push_back(Stream);
    rtl::ComPtr<IStream>(Stream).CopyTo(Result);
}

Boolean FakeFileFilter::HandlesStream(BSTR FileName, IStream* Stream) {
    calls.push_back("HandlesStream " + Text(FileName));
    streams.push_back(Stream);
    return handles;
}

HRESULT FakeModuleCreator::QueryInterface(REFIID iid, void** out) {
    if (!moduleCreator_ && iid == IID_IBDSModuleCreator) {
        if (out) *out = nullptr;
        return E_NOINTERFACE;
    }
    return ComObject::QueryInterface(iid, out);
}

void FakeModuleCreator::Log(std::string call) { calls.push_back(std::move(call)); }

const WCHAR* FakeModuleCreator::GetCreatorType() { return Log("GetCreatorType"), rtl::W(creatorType); }
LongBool FakeModuleCreator::GetExisting() { return Log("GetExisting"), 0; }
const WCHAR* FakeModuleCreator::GetFileSystem() { return Log("GetFileSystem"), rtl::W(fileSystem); }
LongBool FakeModuleCreator::GetUnnamed() { return Log("GetUnnamed"), implFileName.empty() ? -1 : 0; }
Integer FakeModuleCreator::GetOwner(IBDSModule** Owner) {
    Log("GetOwner");
    owner.CopyTo(Owner);
    return S_OK;
}
const WCHAR* FakeModuleCreator::GetAncestorName() { return Log("GetAncestorName"), rtl::W(u""); }
const WCHAR* FakeModuleCreator::GetImplFileName() { return Log("GetImplFileName"), rtl::W(implFileName); }
const WCHAR* FakeModuleCreator::GetIntfFileName() { return Log("GetIntfFileName"), rtl::W(u""); }
const WCHAR* FakeModuleCreator::GetFormName() { return Log("GetFormName"), rtl::W(u""); }
LongBool FakeModuleCreator::GetMainForm() { return Log("GetMainForm"), mainForm; }
LongBool FakeModuleCreator::GetShowForm() { return Log("GetShowForm"), 0; }
LongBool FakeModuleCreator::GetShowSource() { return Log("GetShowSource"), -1; }

Integer FakeModuleCreator::NewFormFile(BSTR FormIdent, BSTR AncestorIdent, IBDSFile** File) {
    Log("NewFormFile " + Text(FormIdent) + " " + Text(AncestorIdent));
    formFile.CopyTo(File);
    return S_OK;
}

Integer FakeModuleCreator::NewImplSource(BSTR ModuleIdent, BSTR FormIdent, BSTR AncestorIdent, IBDSFile** File) {
    Log("NewImplSource " + Text(ModuleIdent) + " " + Text(FormIdent) + " " + Text(AncestorIdent));
    implSource.CopyTo(File);
    return S_OK;
}

// Without an interface file it answers a failing status, which the IDE does not look at.
Integer FakeModuleCreator::NewIntfSource(BSTR ModuleIdent, BSTR FormIdent, BSTR AncestorIdent, IBDSFile** File) {
    Log("NewIntfSource " + Text(ModuleIdent) + " " + Text(FormIdent) + " " + Text(AncestorIdent));
    intfSource.CopyTo(File);
    return intfSource ? S_OK : E_NOTIMPL;
}

void FakeModuleCreator::FormCreated(IBDSFormEditor* FormEditor) {
    Log(FormEditor ? "FormCreated object" : "FormCreated nil");
}

}  // namespace testing_support
