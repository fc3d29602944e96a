// ole32's memory stream: bytes that grow as they are written, read and written at a seek
// position of the stream's own. Clones share the bytes (the memory lives until the last of
// them goes) and start at the position of the stream they were cloned from.
#include <algorithm>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "platform/rtl/ComObject.h"
#include "platform/rtl/Streams.h"

namespace {

// Streams address at most 32 bits of memory here, as a 32-bit process does.
constexpr uint64_t MaximumSize = 0x7FFFFFFFu;

class MemoryStream final : public rtl::ComObject<IStream> {
public:
    explicit MemoryStream(std::shared_ptr<std::vector<BYTE>> bytes, uint64_t position = 0)
        : bytes_(std::move(bytes)), position_(position) {}

    HRESULT STDMETHODCALLTYPE Read(void* buffer, ULONG size, ULONG* read) override {
        if (read) *read = 0;
        if (!buffer && size) return STG_E_INVALIDPOINTER;
        const uint64_t available = position_ < bytes_->size() ? bytes_->size() - position_ : 0;
        const auto count = static_cast<ULONG>(std::min<uint64_t>(size, available));
        if (count) std::memcpy(buffer, bytes_->data() + position_, count);
        position_ += count;
        if (read) *read = count;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(const void* buffer, ULONG size, ULONG* written) override {
        if (written) *written = 0;
        if (!buffer && size) return STG_E_INVALIDPOINTER;
        if (!size) return S_OK;
        const uint64_t end = position_ + size;
        if (end > MaximumSize) return STG_E_MEDIUMFULL;
        try {
            if (end > bytes_->size()) bytes_->resize(static_cast<size_t>(end));
        } catch (const std::bad_alloc&) {
            return STG_E_MEDIUMFULL;
        }
        std::memcpy(bytes_->data() + position_, buffer, size);
        position_ = end;
        if (written) *written = size;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
        int64_t base = 0;
        switch (origin) {
            case STREAM_SEEK_SET: base = 0; break;
            case STREAM_SEEK_CUR: base = static_cast<int64_t>(position_); break;
            case STREAM_SEEK_END: base = static_cast<int64_t>(bytes_->size()); break;
            default: return STG_E_INVALIDFUNCTION;
        }
        if ((move.QuadPart < 0 && base + move.QuadPart < 0) ||
            (move.QuadPart > 0 && static_cast<uint64_t>(move.QuadPart) > MaximumSize))
            return STG_E_INVALIDFUNCTION;
        position_ = static_cast<uint64_t>(base + move.QuadPart);
        if (position) position->QuadPart = position_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override {
        if (size.QuadPart > MaximumSize) return STG_E_MEDIUMFULL;
        try {
            bytes_->resize(static_cast<size_t>(size.QuadPart));
        } catch (const std::bad_alloc&) {
            return STG_E_MEDIUMFULL;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                                     ULARGE_INTEGER* written) override {
        if (read) read->QuadPart = 0;
        if (written) written->QuadPart = 0;
        if (!target) return STG_E_INVALIDPOINTER;
        const uint64_t available = position_ < bytes_->size() ? bytes_->size() - position_ : 0;
        const auto count = static_cast<ULONG>(std::min<uint64_t>(size.QuadPart, available));
        // A copy first: the target may be a clone that shares these very bytes.
        const std::vector<BYTE> chunk(bytes_->begin() + static_cast<ptrdiff_t>(position_),
                                      bytes_->begin() + static_cast<ptrdiff_t>(position_ + count));
        position_ += count;
        ULONG copied = 0;
        const HRESULT result = target->Write(chunk.data(), count, &copied);
        if (read) read->QuadPart = count;
        if (written) written->QuadPart = copied;
        return result;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override { return STG_E_INVALIDFUNCTION; }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override {
        if (!stat) return STG_E_INVALIDPOINTER;
        std::memset(stat, 0, sizeof(*stat));
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = bytes_->size();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override {
        if (!clone) return STG_E_INVALIDPOINTER;
        *clone = nullptr;
        try {
            *clone = new MemoryStream(bytes_, position_);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
        (*clone)->AddRef();
        return S_OK;
    }

private:
    std::shared_ptr<std::vector<BYTE>> bytes_;
    uint64_t position_;
};

}  // namespace

extern "C" {

HRESULT CreateStreamOnHGlobal(HGLOBAL memory, BOOL, IStream** stream) {
    if (!stream) return E_INVALIDARG;
    *stream = nullptr;
    if (memory) return E_INVALIDARG;
    try {
        *stream = new MemoryStream(std::make_shared<std::vector<BYTE>>());
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    (*stream)->AddRef();
    return S_OK;
}

}  // extern "C"
