// The sample's file system "Korvel.Memory": files that live in memory as long as the package,
// so that the IDE can create, save and reopen modules without touching the disk.
#pragma once

#include <map>

#include "Text.h"

namespace sample {

class SampleFileSystem final : public ComObject<IBDSFileSystem> {
public:
    static constexpr const char16_t* Name = u"Korvel.Memory";

    const WCHAR* STDMETHODCALLTYPE GetIDString() override;
    void STDMETHODCALLTYPE GetFilter(IBDSFileFilter** Filter) override;
    Boolean STDMETHODCALLTYPE IsFileBased() override { return 0; }
    void STDMETHODCALLTYPE GetFileStream(BSTR FileName, Integer Mode, IStream** Stream) override;
    Integer STDMETHODCALLTYPE FileAge(BSTR FileName) override;
    Boolean STDMETHODCALLTYPE RenameFile(BSTR OldName, BSTR NewName) override;
    Boolean STDMETHODCALLTYPE IsReadonly(BSTR) override { return 0; }
    Boolean STDMETHODCALLTYPE DeleteFile(BSTR FileName) override;
    Boolean STDMETHODCALLTYPE FileExists(BSTR FileName) override;
    const WCHAR* STDMETHODCALLTYPE GetTempFileName(BSTR FileName) override;
    const WCHAR* STDMETHODCALLTYPE GetBackupFileName(BSTR FileName) override;

private:
    struct File {
        ComRef<IStream> content;
        // Packed as the IDE's file dates are; each write makes the file one step younger.
        Integer age = 0;
    };
    // The answer stays valid until the next call, as the IDE copies it at once.
    const WCHAR* Keep(Text text);

    const Text id_ = Name;
    std::map<Text, File> files_;
    Integer nextAge_ = 0x5C210000;
    Text answer_;
};

}  // namespace sample
