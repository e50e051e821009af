// What the copy behind the walk takes from the file streams: the bytes the
// input's buffer holds already, and large writes that go to the file at
// once, in order with buffered ones.
#include "Mp3Bytes.h"
#include "engine/io/FileStream.h"

#include <gtest/gtest.h>

using namespace vivizu;
using namespace vivizu::test;

namespace {

Bytes Counting(size_t size)
{
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
    return bytes;
}

TEST(OnePassIo, BufferedBytesAreThoseTheBufferHolds)
{
    TempDir dir;
    const Bytes data = Counting(TInputFile::BufferSize * 2 + 1234);
    TInputFile input(dir.Write("in.bin", data));
    EXPECT_TRUE(input.Buffered(0, 10).empty()); // nothing read yet

    input.Seek(1000, TSeekOrigin::Begin);
    ASSERT_EQ(input.Peek(4).size(), 4u); // the buffer now holds [1000, 1000 + BufferSize)
    const std::span<const uint8_t> held = input.Buffered(5000, 100);
    ASSERT_EQ(held.size(), 100u);
    EXPECT_TRUE(std::equal(held.begin(), held.end(), data.begin() + 5000));
    // Up to the buffer's end only, and nothing before or past it.
    EXPECT_EQ(input.Buffered(1000 + TInputFile::BufferSize - 10, 100).size(), 10u);
    EXPECT_TRUE(input.Buffered(999, 10).empty());
    EXPECT_TRUE(input.Buffered(1000 + TInputFile::BufferSize, 10).empty());

    // Asking moves nothing.
    EXPECT_EQ(input.Position(), 1000);
}

// A walk that steps past the buffer's end keeps the bytes the copy still
// wants; every read still delivers all it asks for, and what the buffer
// cannot keep is simply read again.
TEST(OnePassIo, KeptBytesStayBufferedAsTheWalkMovesOn)
{
    TempDir dir;
    const size_t size = TInputFile::BufferSize;
    const Bytes data = Counting(size * 3 + 777);
    TInputFile input(dir.Write("in.bin", data));
    const auto same = [&](std::span<const uint8_t> bytes, int64_t at) {
        return std::equal(bytes.begin(), bytes.end(), data.begin() + at);
    };

    ASSERT_EQ(input.Peek(4).size(), 4u); // the buffer holds [0, size)
    const int64_t keep = static_cast<int64_t>(size) - 30000;
    input.KeepFrom(keep);
    // The next header lies a little past the buffer's end (the walk jumps
    // over a frame's body).
    const int64_t step = static_cast<int64_t>(size) + 300;
    input.SeekTo(step);
    std::span<const uint8_t> head = input.Peek(40);
    ASSERT_EQ(head.size(), 40u);
    EXPECT_TRUE(same(head, step));
    std::span<const uint8_t> held = input.Buffered(keep, 40000);
    ASSERT_EQ(held.size(), 40000u); // the kept bytes and the ones after them
    EXPECT_TRUE(same(held, keep));

    // A large read right after the kept bytes still gets all it asks for.
    input.KeepFrom(step);
    input.SeekTo(step + 100);
    std::span<const uint8_t> large = input.Peek(size);
    ASSERT_EQ(large.size(), size);
    EXPECT_TRUE(same(large, step + 100));

    // Kept bytes that would fill more than half the buffer are dropped.
    input.KeepFrom(step + 100);
    const int64_t far = step + 100 + static_cast<int64_t>(size) - 8;
    input.SeekTo(far);
    head = input.Peek(40);
    ASSERT_EQ(head.size(), 40u);
    EXPECT_TRUE(same(head, far));
    EXPECT_TRUE(input.Buffered(step + 100, 10).empty());

    // Near the end the window ends with the file, the kept bytes still held.
    input.KeepFrom(static_cast<int64_t>(data.size()) - 5000);
    input.SeekTo(static_cast<int64_t>(data.size()) - 20);
    head = input.Peek(40);
    EXPECT_EQ(head.size(), 20u);
    EXPECT_TRUE(same(head, static_cast<int64_t>(data.size()) - 20));
    held = input.Buffered(static_cast<int64_t>(data.size()) - 5000, 9999);
    EXPECT_EQ(held.size(), 5000u);
    EXPECT_TRUE(same(held, static_cast<int64_t>(data.size()) - 5000));
}

TEST(OnePassIo, LargeWritesKeepTheirPlaceAmongBufferedOnes)
{
    TempDir dir;
    const std::string path = dir / "out.bin";
    const Bytes small = Counting(100), large = Counting(TOutputFile::DirectWrite + 7), tail = Counting(300);
    {
        TOutputFile out(path);
        out.Write(small); // buffered
        out.Write(large); // at once, after the buffered bytes
        out.Write(tail);  // buffered again
        EXPECT_EQ(out.Size(), static_cast<int64_t>(small.size() + large.size() + tail.size()));
        // In place across what is in the file and what is still buffered.
        out.Overwrite(static_cast<int64_t>(small.size() + large.size()) - 5, Bytes(10, 0xEE));
        out.Commit();
    }
    Bytes expected = small + large + tail;
    std::fill_n(expected.begin() + static_cast<long>(small.size() + large.size()) - 5, 10, 0xEE);
    EXPECT_TRUE(ReadAll(path) == expected);
}

} // namespace
