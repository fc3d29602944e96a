#include "toolsapi/BDSFileWrappers.h"

#include <cstring>

namespace korvel {

String TBDSFileWrapper::GetSource() {
    return AskText("GetSource", [](IBDSFile& file) { return file.GetSource(); });
}

ide::TDateTime TBDSFileWrapper::GetAge() {
    const int64_t bits = Ask("GetAge", int64_t(0), [](IBDSFile& file) { return file.GetAge(); });
    ide::TDateTime age;
    static_assert(sizeof(age) == sizeof(bits), "a date is the eight bytes of a double");
    std::memcpy(&age, &bits, sizeof(age));
    return age;
}

rtl::ComPtr<IStream> TBDSFileFilterWrapper::GetStream(const String& FileName, IStream* Stream) {
    const rtl::WideString name(FileName);
    return rtl::ComPtr<IStream>::Adopt(AskOut<IStream>(
        "GetStream", [&](IBDSFileFilter& filter, IStream** result) { filter.GetStream(name.Get(), Stream, result); }));
}

bool TBDSFileFilterWrapper::HandlesStream(const String& FileName, IStream* Stream) {
    const rtl::WideString name(FileName);
    return AskFlag("HandlesStream", [&](IBDSFileFilter& filter) { return filter.HandlesStream(name.Get(), Stream); });
}

String TBDSFileFilterWrapper::GetIDString() {
    return AskText("GetIDString", [](IBDSFileFilter& filter) { return filter.GetIDString(); });
}

String TBDSFileFilterWrapper::GetDisplayName() {
    return AskText("GetDisplayName", [](IBDSFileFilter& filter) { return filter.GetDisplayName(); });
}

rtl::ComPtr<IStream> TBDSFileSystemWrapper::GetFileStream(const String& FileName, int Mode) {
    const rtl::WideString name(FileName);
    return rtl::ComPtr<IStream>::Adopt(AskOut<IStream>("GetFileStream", [&](IBDSFileSystem& fileSystem, IStream** stream) {
        fileSystem.GetFileStream(name.Get(), Mode, stream);
    }));
}

int TBDSFileSystemWrapper::FileAge(const String& FileName) {
    const rtl::WideString name(FileName);
    return Ask("FileAge", -1, [&](IBDSFileSystem& fileSystem) { return fileSystem.FileAge(name.Get()); });
}

bool TBDSFileSystemWrapper::RenameFile(const String& OldName, const String& NewName) {
    const rtl::WideString oldName(OldName);
    const rtl::WideString newName(NewName);
    return AskFlag("RenameFile",
                   [&](IBDSFileSystem& fileSystem) { return fileSystem.RenameFile(oldName.Get(), newName.Get()); });
}

bool TBDSFileSystemWrapper::IsReadonly(const String& FileName) {
    const rtl::WideString name(FileName);
    return AskFlag("IsReadonly", [&](IBDSFileSystem& fileSystem) { return fileSystem.IsReadonly(name.Get()); });
}

bool TBDSFileSystemWrapper::IsFileBased() {
    return AskFlag("IsFileBased", [](IBDSFileSystem& fileSystem) { return fileSystem.IsFileBased(); });
}

bool TBDSFileSystemWrapper::DeleteFile(const String& FileName) {
    const rtl::WideString name(FileName);
    return AskFlag("DeleteFile", [&](IBDSFileSystem& fileSystem) { return fileSystem.DeleteFile(name.Get()); });
}

bool TBDSFileSystemWrapper::FileExists(const String& FileName) {
    const rtl::WideString name(FileName);
    return AskFlag("FileExists", [&](IBDSFileSystem& fileSystem) { return fileSystem.FileExists(name.Get()); });
}

String TBDSFileSystemWrapper::GetTempFileName(const String& FileName) {
    const rtl::WideString name(FileName);
    return AskText("GetTempFileName", [&](IBDSFileSystem& fileSystem) { return fileSystem.GetTempFileName(name.Get()); });
}

String TBDSFileSystemWrapper::GetBackupFileName(const String& FileName) {
    const rtl::WideString name(FileName);
    return AskText("GetBackupFileName",
                   [&](IBDSFileSystem& fileSystem) { return fileSystem.GetBackupFileName(name.Get()); });
}

String TBDSFileSystemWrapper::GetIDString() {
    return AskText("GetIDString", [](IBDSFileSystem& fileSystem) { return fileSystem.GetIDString(); });
}

rtl::ComPtr<ide::IOTAFileFilter> TBDSFileSystemWrapper::GetFilter() {
    const auto filter = Owned(AskOut<IBDSFileFilter>(
        "GetFilter", [](IBDSFileSystem& fileSystem, IBDSFileFilter** answer) { fileSystem.GetFilter(answer); }));
    return WrapPackageObject<TBDSFileFilterWrapper, ide::IOTAFileFilter>(filter);
}

}  // namespace korvel
