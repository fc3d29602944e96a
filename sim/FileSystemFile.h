// One file of a registered file system, as the IDE reads and writes it: through the file
// system's streams (passed through its filter, when it offers one that handles them), never
// the disk. Text goes into the streams as UTF-8.
#pragma once

#include <optional>

#include "platform/ide/ToolsAPI.h"

namespace sim {

using rtl::String;

// The age of a file its file system cannot tell (or has not got), as the platform's FileAge.
inline constexpr int NoFileAge = -1;

class FileSystemFile {
public:
    FileSystemFile(rtl::ComPtr<ide::IOTAFileSystem> fileSystem, String fileName)
        : fileSystem_(std::move(fileSystem)), fileName_(std::move(fileName)) {}

    bool Exists() { return fileSystem_->FileExists(fileName_); }
    bool IsReadonly() { return fileSystem_->IsReadonly(fileName_); }
    int Age() { return fileSystem_->FileAge(fileName_); }
    // Nothing when the file system gives no stream to read, or the stream fails.
    std::optional<String> Read();
    // As the IDE saves: into a temporary file first; then the old file becomes the backup
    // (when the file system is file-based; otherwise it is deleted), and the temporary file
    // takes its name. False when a step failed.
    bool Write(const String& text);

private:
    rtl::ComPtr<IStream> Open(const String& fileName, int mode);
    // The whole text into a new file; false when the stream failed.
    bool WriteInto(const String& fileName, const String& text);

    rtl::ComPtr<ide::IOTAFileSystem> fileSystem_;
    String fileName_;
};

}  // namespace sim
