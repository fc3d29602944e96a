// The platform's memory stream keeps the contract of ole32's: the same test runs against the
// real one under wine.
#include <gtest/gtest.h>

#include "platform/rtl/Streams.h"

namespace {

LARGE_INTEGER Offset(int64_t value) {
    LARGE_INTEGER offset{};
    offset.QuadPart = value;
    return offset;
}

TEST(MemoryStream, GrowsAsWrittenAndClonesShareItsBytes) {
    const rtl::ComPtr<IStream> stream = rtl::NewMemoryStream();
    ASSERT_TRUE(stream);
    EXPECT_TRUE(stream.Query<ISequentialStream>());
    rtl::WriteWhole(*stream.Get(), "hello, world");
    ULARGE_INTEGER position{};
    EXPECT_EQ(stream->Seek(Offset(-5), STREAM_SEEK_CUR, &position), S_OK);
    EXPECT_EQ(position.QuadPart, 7u);
    EXPECT_EQ(rtl::ReadToEnd(*stream.Get()), "world");
    char byte = 0;
    ULONG read = 99;
    EXPECT_EQ(stream->Read(&byte, 1, &read), S_OK) << "reading at the end is no error";
    EXPECT_EQ(read, 0u);
    EXPECT_TRUE(FAILED(stream->Seek(Offset(-1), STREAM_SEEK_SET, nullptr)));

    rtl::ComPtr<IStream> clone;
    stream->Seek(Offset(0), STREAM_SEEK_SET, nullptr);
    ASSERT_EQ(stream->Clone(clone.Put()), S_OK);
    rtl::WriteWhole(*stream.Get(), "HELLO");
    EXPECT_EQ(rtl::ReadToEnd(*clone.Get()), "HELLO, world") << "the clone starts where the stream was, on its bytes";

    ULARGE_INTEGER size{};
    size.QuadPart = 3;
    EXPECT_EQ(stream->SetSize(size), S_OK);
    STATSTG stat{};
    EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.type, static_cast<DWORD>(STGTY_STREAM));
    EXPECT_EQ(stat.cbSize.QuadPart, 3u);

    const rtl::ComPtr<IStream> copy = rtl::NewMemoryStream();
    stream->Seek(Offset(1), STREAM_SEEK_SET, nullptr);
    ULARGE_INTEGER copied{}, written{};
    EXPECT_EQ(stream->CopyTo(copy.Get(), size, &copied, &written), S_OK);
    EXPECT_EQ(copied.QuadPart, 2u);
    EXPECT_EQ(written.QuadPart, 2u);
    copy->Seek(Offset(0), STREAM_SEEK_SET, nullptr);
    EXPECT_EQ(rtl::ReadToEnd(*copy.Get()), "EL");
}

}  // namespace
