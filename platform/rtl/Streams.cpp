#include "platform/rtl/Streams.h"

#include <algorithm>

namespace rtl {
namespace {

constexpr ULONG ChunkSize = 64 * 1024;

}  // namespace

ComPtr<IStream> NewMemoryStream() {
    ComPtr<IStream> stream;
    OleCheck(CreateStreamOnHGlobal(nullptr, TRUE, stream.Put()));
    return stream;
}

std::string ReadToEnd(IStream& stream) {
    std::string bytes;
    char chunk[ChunkSize];
    for (;;) {
        ULONG read = 0;
        OleCheck(stream.Read(chunk, ChunkSize, &read));
        // A stream that claims more than it was asked for is not believed past the buffer.
        bytes.append(chunk, std::min(read, ChunkSize));
        if (read < ChunkSize) return bytes;
    }
}

void WriteWhole(IStream& stream, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const auto size = static_cast<ULONG>(std::min<size_t>(bytes.size() - done, ChunkSize));
        ULONG written = 0;
        OleCheck(stream.Write(bytes.data() + done, size, &written));
        if (written == 0 || written > size) OleCheck(STG_E_MEDIUMFULL);
        done += written;
    }
}

}  // namespace rtl
