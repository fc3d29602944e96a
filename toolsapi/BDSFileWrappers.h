// Package files, file systems and stream filters offered to the IDE. The IDE holds a file
// system wrapper from AddFileSystem until RemoveFileSystem (or its own end), a filter
// wrapper while it filters a stream, and a file wrapper while it reads a creator's file; the
// package's object lives exactly as long as its wrapper. Streams pass through unchanged.
#pragma once

#include "platform/ide/ToolsAPI.h"
#include "toolsapi/BDSPackageObjectWrapper.h"

namespace korvel {

class TBDSFileWrapper final : public TBDSPackageObjectWrapper<IBDSFile, ide::IOTAFile> {
public:
    using TBDSPackageObjectWrapper::TBDSPackageObjectWrapper;

    String STDMETHODCALLTYPE GetSource() override;
    // The package gives the bits of the date's double in the integer.
    ide::TDateTime STDMETHODCALLTYPE GetAge() override;
};

class TBDSFileFilterWrapper final : public TBDSPackageObjectWrapper<IBDSFileFilter, ide::IOTAFileFilter> {
public:
    using TBDSPackageObjectWrapper::TBDSPackageObjectWrapper;

    rtl::ComPtr<IStream> STDMETHODCALLTYPE GetStream(const String& FileName, IStream* Stream) override;
    bool STDMETHODCALLTYPE HandlesStream(const String& FileName, IStream* Stream) override;
    String STDMETHODCALLTYPE GetIDString() override;
    String STDMETHODCALLTYPE GetDisplayName() override;
};

// The IDE's file system interface has no slot for the filter; the wrapper also answers the
// IDE's filtered file system interface, through which the IDE asks for it.
class TBDSFileSystemWrapper final : public TBDSPackageObjectWrapper<IBDSFileSystem, ide::IOTAFilteredFileSystem> {
public:
    using TBDSPackageObjectWrapper::TBDSPackageObjectWrapper;

    rtl::ComPtr<IStream> STDMETHODCALLTYPE GetFileStream(const String& FileName, int Mode) override;
    int STDMETHODCALLTYPE FileAge(const String& FileName) override;
    bool STDMETHODCALLTYPE RenameFile(const String& OldName, const String& NewName) override;
    bool STDMETHODCALLTYPE IsReadonly(const String& FileName) override;
    bool STDMETHODCALLTYPE IsFileBased() override;
    bool STDMETHODCALLTYPE DeleteFile(const String& FileName) override;
    bool STDMETHODCALLTYPE FileExists(const String& FileName) override;
    String STDMETHODCALLTYPE GetTempFileName(const String& FileName) override;
    String STDMETHODCALLTYPE GetBackupFileName(const String& FileName) override;
    String STDMETHODCALLTYPE GetIDString() override;
    // A new filter wrapper per call; nil when the package has no filter.
    rtl::ComPtr<ide::IOTAFileFilter> STDMETHODCALLTYPE GetFilter() override;
};

}  // namespace korvel
