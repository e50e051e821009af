#pragma once
// The engine's file streams. Input files are read through a large window of
// memory (mapped from the file, or filled by reads where a file cannot be
// mapped), so that the frame walk's many small reads and seeks cost no system
// calls and the file's bytes are not copied;
// output goes to a temporary file beside the destination, which replaces the
// destination only once it is complete. Errors of the file system are raised
// as std::system_error carrying the system's message.
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <sys/stat.h>
#include <system_error>
#include <vector>

namespace vivizu {

enum class TSeekOrigin { Begin, Current, End };

// Raised when a read that must deliver a whole block (a frame being copied)
// finds the file ending first.
class TStreamReadError : public std::system_error {
public:
    explicit TStreamReadError(const std::string& fileName);
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

    // Moves the position; any position at or after 0 is allowed, also past
    // the end (reads there deliver nothing). A negative result raises EINVAL.
    int64_t Seek(int64_t offset, TSeekOrigin origin);

    // Reads up to count bytes at the position into dest and moves past them;
    // returns how many there were (fewer only at the end of the file).
    size_t Read(void* dest, size_t count);

    // The next count bytes (at most BufferSize) without copying, and moves
    // past them; fewer only at the end of the file. Valid until the next call.
    std::span<const uint8_t> Take(size_t count);

    // Up to count bytes at the position, without moving. Same limits as Take.
    std::span<const uint8_t> Peek(size_t count)
    {
        // The walk's common case, inline: the bytes are in the window.
        const int64_t offset = FPosition - FWindowStart;
        if (FWindow != nullptr && offset >= 0 && count <= FWindowLength &&
            offset <= static_cast<int64_t>(FWindowLength - count)) {
            if (offset + PrefetchDistance < static_cast<int64_t>(FWindowLength))
                __builtin_prefetch(FWindow + offset + PrefetchDistance);
            return {FWindow + offset, count};
        }
        return PeekSlow(count);
    }

    // The most Take and Peek deliver at once.
    static constexpr size_t BufferSize = 1 << 20;
    // How much of the file is mapped at a time: memory stays flat however
    // large the file is.
    static constexpr size_t MapWindowSize = 4 << 20;

private:
    // The walk visits a few bytes every few hundred: the processor is asked
    // for the bytes this far ahead early, as it does not prefetch across
    // pages by itself.
    static constexpr int64_t PrefetchDistance = 4096;

    std::span<const uint8_t> PeekSlow(size_t count);
    // Makes [FPosition, FPosition + count) available in the window as far as
    // the file holds it; returns how many bytes are there.
    size_t Fill(size_t count);
    bool MapWindow();
    void ReadWindow();
    void Unmap();

    std::string FFileName;
    int FFd = -1;
    struct stat FStat {};
    int64_t FSize = 0;
    int64_t FPosition = 0;
    const uint8_t* FWindow = nullptr; // the bytes from FWindowStart on
    int64_t FWindowStart = 0;
    size_t FWindowLength = 0;
    void* FMapping = nullptr;         // FWindow when it is mapped
    bool FMapFailed = false;          // read into FBuffer instead
    std::unique_ptr<uint8_t[]> FBuffer;
};

class TOutputFile {
public:
    // Creates an empty temporary file in the folder of fileName; raises
    // std::system_error when it cannot.
    explicit TOutputFile(const std::string& fileName);
    // Removes the temporary file unless Commit has run.
    ~TOutputFile();
    TOutputFile(const TOutputFile&) = delete;
    TOutputFile& operator=(const TOutputFile&) = delete;

    // Bytes written so far.
    int64_t Size() const { return FSize; }

    // Appends count bytes; raises std::system_error on a write error.
    void Write(const void* data, size_t count);
    void Write(std::span<const uint8_t> data) { Write(data.data(), data.size()); }

    // Writes out what is buffered and puts the file in place of fileName.
    void Commit();

    static constexpr size_t BufferSize = 256 * 1024;

private:
    void Flush();

    std::string FFileName;  // the destination
    std::string FTempName;  // where the data goes until Commit
    int FFd = -1;
    int64_t FSize = 0;
    std::vector<uint8_t> FBuffer; // bytes not yet written to the file
    bool FCommitted = false;
};

} // namespace vivizu
