#include "SampleFileSystem.h"

#include "SampleCommon.h"

namespace sample {
namespace {

// The IDE's flag for a file it creates or overwrites.
constexpr Integer CreateMode = 0xFF00;

ComRef<IStream> AtStart(IStream& stream) {
    ComRef<IStream> reader;
    if (FAILED(stream.Clone(reader.Put())) || !reader) return ComRef<IStream>();
    LARGE_INTEGER start{};
    reader->Seek(start, STREAM_SEEK_SET, nullptr);
    return reader;
}

}  // namespace

const WCHAR* SampleFileSystem::Keep(Text text) {
    answer_ = std::move(text);
    return Wide(answer_);
}

const WCHAR* SampleFileSystem::GetIDString() { return Wide(id_); }

// The sample's files pass unfiltered.
void SampleFileSystem::GetFilter(IBDSFileFilter** Filter) {
    if (Filter) *Filter = nullptr;
}

void SampleFileSystem::GetFileStream(BSTR FileName, Integer Mode, IStream** Stream) {
    if (!Stream) return;
    *Stream = nullptr;
    Quietly([&] {
        const Text name = FromBstr(FileName);
        ComRef<IStream> stream;
        if ((Mode & CreateMode) == CreateMode) {
            if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()))) return;
            files_[name] = File{stream, ++nextAge_};
        } else if (const auto file = files_.find(name); file != files_.end()) {
            stream = AtStart(*file->second.content.Get());
        }
        *Stream = stream.Detach();
    });
}

Integer SampleFileSystem::FileAge(BSTR FileName) {
    return Answer(Integer(-1), [&] {
        const auto file = files_.find(FromBstr(FileName));
        return file == files_.end() ? Integer(-1) : file->second.age;
    });
}

Boolean SampleFileSystem::RenameFile(BSTR OldName, BSTR NewName) {
    return Answer(Boolean(0), [&] {
        const auto file = files_.find(FromBstr(OldName));
        const Text newName = FromBstr(NewName);
        if (file == files_.end() || files_.count(newName)) return Boolean(0);
        File moved = std::move(file->second);
        files_.erase(file);
        files_[newName] = std::move(moved);
        return Boolean(1);
    });
}

Boolean SampleFileSystem::DeleteFile(BSTR FileName) {
    return Answer(Boolean(0), [&] { return Boolean(files_.erase(FromBstr(FileName)) ? 1 : 0); });
}

Boolean SampleFileSystem::FileExists(BSTR FileName) {
    return Answer(Boolean(0), [&] { return Boolean(files_.count(FromBstr(FileName)) ? 1 : 0); });
}

const WCHAR* SampleFileSystem::GetTempFileName(BSTR FileName) {
    return Answer(static_cast<const WCHAR*>(nullptr), [&] { return Keep(FromBstr(FileName) + u".$$$"); });
}

const WCHAR* SampleFileSystem::GetBackupFileName(BSTR FileName) {
    return Answer(static_cast<const WCHAR*>(nullptr), [&] { return Keep(FromBstr(FileName) + u".~"); });
}

}  // namespace sample
