#pragma once
// The engine's file streams. Input files are read in large blocks into a
// buffer, so that the frame walk's many small reads and seeks cost no system
// calls. (The file is not mapped into memory: a read error of a mapped file,
// or another program making it shorter, would arrive as a signal that ends
// the process.) Output goes to a temporary file beside the destination, which
// replaces the destination only once it is complete, and which a signal that
// ends the process removes (engine/io/SignalCleanup.h). Errors of the file
// system are raised as std::system_error carrying the system's message.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <vector>

namespace vivizu {

enum class TSeekOrigin { Begin, Current, End };

// Raised when the file turns out shorter than it was when it was opened:
// another program cut it while it was being read.
class TStreamReadError : public std::system_error {
public:
    explicit TStreamReadError(const std::string& fileName);
};

// Raised by TOutputFile: the output could not be created, written or put in
// place. Carries the system's error and the destination's name.
class TStreamWriteError : public std::system_error {
public:
    TStreamWriteError(int code, const std::string& fileName);
};

class TInputFile {
public:
    // Opens fileName for reading; raises std::system_error when it cannot.
    explicit TInputFile(const std::string& fileName);
    ~TInputFile();
    TInputFile(const TInputFile&) = delete;
    TInputFile& operator=(const TInputFile&) = delete;

    const std::string& FileName() const { return FFileName; }
    int64_t Size() const { return FSize; }
    int64_t Position() const { return FPosition; }
    // Device and inode of the open file.
    const struct stat& Identity() const { return FStat; }
    // The open file's descriptor: for reading it elsewhere without moving the
    // position, and for copies the system makes (TOutputFile::CopyFrom).
    int Descriptor() const { return FFd; }

    // Moves the position; any position at or after 0 is allowed, also past
    // the end (reads there deliver nothing). A negative result raises EINVAL.
    int64_t Seek(int64_t offset, TSeekOrigin origin);
    // Seek(position, Begin) for a position known to be at or after 0, inline
    // for the frame walk, which moves once per step.
    void SeekTo(int64_t position)
    {
        if (position < 0)
            Seek(position, TSeekOrigin::Begin); // raises
        FPosition = position;
    }

    // Reads up to count bytes at the position into dest and moves past them;
    // returns how many there were (fewer only at the end of the file).
    // Every read below raises std::system_error on a read error of the
    // system, and TStreamReadError when the file has become shorter.
    size_t Read(void* dest, size_t count);

    // The next count bytes (at most BufferSize) without copying, and moves
    // past them; fewer only at the end of the file. Valid until the next call.
    std::span<const uint8_t> Take(size_t count);

    // Up to count bytes at the position, without moving. Same limits as Take.
    std::span<const uint8_t> Peek(size_t count)
    {
        // The walk's common case, inline: the bytes are in the buffer.
        const int64_t offset = FPosition - FWindowStart;
        if (offset >= 0 && count <= FWindowLength && offset <= static_cast<int64_t>(FWindowLength - count))
            return {FBuffer.get() + offset, count};
        return PeekSlow(count);
    }

    // The bytes from position on that the buffer holds already, at most
    // count; empty when it does not hold the byte at position. Reads
    // nothing, so that a copy can take the bytes a walk has just read
    // without reading them again. Valid until the next read.
    std::span<const uint8_t> Buffered(int64_t position, size_t count) const
    {
        const int64_t offset = position - FWindowStart;
        if (offset < 0 || offset >= static_cast<int64_t>(FWindowLength))
            return {};
        return {FBuffer.get() + offset, std::min(count, FWindowLength - static_cast<size_t>(offset))};
    }

    // Asks the reads that follow to keep the bytes from position on in the
    // buffer while they move on, as far as half the buffer holds them: a
    // copy that follows a walk a little behind then finds its bytes in
    // Buffered instead of reading them again. -1 keeps nothing.
    void KeepFrom(int64_t position) { FKeepFrom = position; }

    // The most Take and Peek deliver at once, and the size of each read.
    static constexpr size_t BufferSize = 512 * 1024;

private:
    std::span<const uint8_t> PeekSlow(size_t count);
    // Reads the part of the file from the position on into the buffer, at
    // least count bytes of it when the file has them.
    void ReadWindow(size_t count);

    std::string FFileName;
    int FFd = -1;
    struct stat FStat {};
    int64_t FSize = 0;
    int64_t FPosition = 0;
    int64_t FWindowStart = 0;  // file position of the buffer's first byte
    size_t FWindowLength = 0;  // bytes in the buffer
    int64_t FKeepFrom = -1;    // see KeepFrom
    std::unique_ptr<uint8_t[]> FBuffer;
};

// What an output does with a destination that is a symbolic link.
enum class TLinkRule {
    Follow,  // writes where the link points (what a user who names a link means)
    Replace, // replaces the link itself (for the program's own files)
};

class TOutputFile {
public:
    // Creates an empty temporary file in the folder of fileName; raises
    // std::system_error when it cannot. With TLinkRule::Follow a fileName
    // that is a symbolic link (also one whose target does not exist yet) is
    // written where it points; with Replace the link is replaced by the file.
    explicit TOutputFile(const std::string& fileName, TLinkRule links = TLinkRule::Follow);
    // Removes the temporary file unless Commit has run.
    ~TOutputFile();
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    // Bytes written so far.
    int64_t Size() const { return FSize; }

    // Appends count bytes; raises std::system_error on a write error. Large
    // pieces go to the file at once, without passing through the buffer.
    void Write(const void* data, size_t count);
    void Write(std::span<const uint8_t> data) { Write(data.data(), data.size()); }

    // Appends up to count bytes of the file fd from offset on, copied by the
    // system without passing through this process (as cp and cat do).
    // Returns how many were copied: fewer when the system cannot copy
    // between these files or meets an error or the input's end, and the
    // caller writes the rest itself (and meets the error there).
    int64_t CopyFrom(int fd, int64_t offset, int64_t count);

    // Writes out what is buffered and puts the file in place of fileName.
    void Commit();

    // Replaces bytes written before, from offset on (offset + data's size is
    // at most Size()); for a header whose contents are known only at the end.
    void Overwrite(int64_t offset, std::span<const uint8_t> data);

    static constexpr size_t BufferSize = 256 * 1024;
    // Pieces from this size on are written at once.
    static constexpr size_t DirectWrite = 32 * 1024;

private:
    void Flush();

    std::string FFileName;  // the destination
    std::string FTempName;  // where the data goes until Commit
    int FCleanupSlot = -1;  // FTempName's entry for removal by a signal
    int FFd = -1;
    int64_t FSize = 0;
    std::vector<uint8_t> FBuffer; // bytes not yet written to the file
    bool FCommitted = false;
};

} // namespace vivizu
