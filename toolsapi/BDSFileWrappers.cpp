#include "toolsapi/BDSFileWrappers.h"

#include <cstring>

namespace korvel {
namespace {

// A one-byte Boolean of a package: any non-zero value is true.
bool FromBoolean(Boolean value) { return value != 0; }

}  // namespace

String TBDSFileWrapper::GetSource() {
    return Ask(String(), [](IBDSFile& file) { return CopyPackageText(file.GetSource()); });
}

ide::TDateTime TBDSFileWrapper::GetAge() {
    return Ask(ide::TDateTime(0), [](IBDSFile& file) {
        const int64_t bits = file.GetAge();
        ide::TDateTime age;
        static_assert(sizeof(age) == sizeof(bits), "a date is the eight bytes of a double");
        std::memcpy(&age, &bits, sizeof(age));
        return age;
    });
}

rtl::ComPtr<IStream> TBDSFileFilterWrapper::GetStream(const String& FileName, IStream* Stream) {
    return Ask(rtl::ComPtr<IStream>(), [&](IBDSFileFilter& filter) {
        rtl::ComPtr<IStream> result;
        filter.GetStream(rtl::WideString(FileName).Get(), Stream, result.Put());
        return result;
    });
}

bool TBDSFileFilterWrapper::HandlesStream(const String& FileName, IStream* Stream) {
    return Ask(false, [&](IBDSFileFilter& filter) {
        return FromBoolean(filter.HandlesStream(rtl::WideString(FileName).Get(), Stream));
    });
}

String TBDSFileFilterWrapper::GetIDString() {
    return Ask(String(), [](IBDSFileFilter& filter) { return CopyPackageText(filter.GetIDString()); });
}

String TBDSFileFilterWrapper::GetDisplayName() {
    return Ask(String(), [](IBDSFileFilter& filter) { return CopyPackageText(filter.GetDisplayName()); });
}

rtl::ComPtr<IStream> TBDSFileSystemWrapper::GetFileStream(const String& FileName, int Mode) {
    return Ask(rtl::ComPtr<IStream>(), [&](IBDSFileSystem& fileSystem) {
        rtl::ComPtr<IStream> stream;
        fileSystem.GetFileStream(rtl::WideString(FileName).Get(), Mode, stream.Put());
        return stream;
    });
}

int TBDSFileSystemWrapper::FileAge(const String& FileName) {
    return Ask(-1, [&](IBDSFileSystem& fileSystem) { return fileSystem.FileAge(rtl::WideString(FileName).Get()); });
}

bool TBDSFileSystemWrapper::RenameFile(const String& OldName, const String& NewName) {
    return Ask(false, [&](IBDSFileSystem& fileSystem) {
        return FromBoolean(fileSystem.RenameFile(rtl::WideString(OldName).Get(), rtl::WideString(NewName).Get()));
    });
}

bool TBDSFileSystemWrapper::IsReadonly(const String& FileName) {
    return Ask(false, [&](IBDSFileSystem& fileSystem) {
        return FromBoolean(fileSystem.IsReadonly(rtl::WideString(FileName).Get()));
    });
}

bool TBDSFileSystemWrapper::IsFileBased() {
    return Ask(false, [](IBDSFileSystem& fileSystem) { return FromBoolean(fileSystem.IsFileBased()); });
}

bool TBDSFileSystemWrapper::DeleteFile(const String& FileName) {
    return Ask(false, [&](IBDSFileSystem& fileSystem) {
        return FromBoolean(fileSystem.DeleteFile(rtl::WideString(FileName).Get()));
    });
}

bool TBDSFileSystemWrapper::FileExists(const String& FileName) {
    return Ask(false, [&](IBDSFileSystem& fileSystem) {
        return FromBoolean(fileSystem.FileExists(rtl::WideString(FileName).Get()));
    });
}

String TBDSFileSystemWrapper::GetTempFileName(const String& FileName) {
    return Ask(String(), [&](IBDSFileSystem& fileSystem) {
        return CopyPackageText(fileSystem.GetTempFileName(rtl::WideString(FileName).Get()));
    });
}

String TBDSFileSystemWrapper::GetBackupFileName(const String& FileName) {
    return Ask(String(), [&](IBDSFileSystem& fileSystem) {
        return CopyPackageText(fileSystem.GetBackupFileName(rtl::WideString(FileName).Get()));
    });
}

String TBDSFileSystemWrapper::GetIDString() {
    return Ask(String(), [](IBDSFileSystem& fileSystem) { return CopyPackageText(fileSystem.GetIDString()); });
}

rtl::ComPtr<ide::IOTAFileFilter> TBDSFileSystemWrapper::GetFilter() {
    return Ask(rtl::ComPtr<ide::IOTAFileFilter>(), [](IBDSFileSystem& fileSystem) {
        rtl::ComPtr<IBDSFileFilter> filter;
        fileSystem.GetFilter(filter.Put());
        return WrapPackageObject<TBDSFileFilterWrapper, ide::IOTAFileFilter>(filter.Get());
    });
}

}  // namespace korvel
