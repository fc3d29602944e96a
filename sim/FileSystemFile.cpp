#include "sim/FileSystemFile.h"

#include "platform/rtl/Text.h"

namespace sim {

rtl::ComPtr<IStream> FileSystemFile::Open(const String& fileName, int mode) {
    rtl::ComPtr<IStream> stream = fileSystem_->GetFileStream(fileName, mode);
    const auto filtered = rtl::ComPtr<ide::IOTAFileSystem>(fileSystem_).Query<ide::IOTAFilteredFileSystem>();
    const rtl::ComPtr<ide::IOTAFileFilter> filter = filtered ? filtered->GetFilter() : nullptr;
    if (!stream || !filter || !filter->HandlesStream(fileName, stream.Get())) return stream;
    return filter->GetStream(fileName, stream.Get());
}

bool FileSystemFile::WriteInto(const String& fileName, const String& text) {
    const rtl::ComPtr<IStream> stream = Open(fileName, ide::fmCreate | ide::fmShareExclusive);
    if (!stream) return false;
    try {
        rtl::WriteWhole(*stream.Get(), rtl::ToUtf8(text));
    } catch (const rtl::EOleSysError&) {
        return false;
    }
    return true;
}

std::optional<String> FileSystemFile::Read() {
    const rtl::ComPtr<IStream> stream = Open(fileName_, ide::fmOpenRead | ide::fmShareDenyWrite);
    if (!stream) return std::nullopt;
    try {
        return rtl::FromUtf8(rtl::ReadToEnd(*stream.Get()));
    } catch (const rtl::EOleSysError&) {
        return std::nullopt;
    }
}

bool FileSystemFile::Write(const String& text) {
    const String temporary = fileSystem_->GetTempFileName(fileName_);
    if (temporary.empty()) return false;
    if (!WriteInto(temporary, text)) {
        fileSystem_->DeleteFile(temporary);
        return false;
    }
    if (Exists()) {
        if (fileSystem_->IsFileBased()) {
            const String backup = fileSystem_->GetBackupFileName(fileName_);
            if (fileSystem_->FileExists(backup)) fileSystem_->DeleteFile(backup);
            if (!fileSystem_->RenameFile(fileName_, backup)) return false;
        } else if (!fileSystem_->DeleteFile(fileName_)) {
            return false;
        }
    }
    return fileSystem_->RenameFile(temporary, fileName_);
}

}  // namespace sim
