#include "engine/tags/Id3v2Layout.h"

#include <algorithm>
#include <optional>

namespace vivizu {
namespace {

constexpr size_t HeaderSize = 10;
// Tag header flags.
constexpr uint8_t TagUnsynchronised = 0x80, TagExtendedHeader = 0x40, TagFooter = 0x10;

uint32_t PlainInt(std::span<const uint8_t> b)
{
    return (uint32_t{b[0]} << 24) | (uint32_t{b[1]} << 16) | (uint32_t{b[2]} << 8) | b[3];
}

std::optional<uint32_t> SyncsafeInt(std::span<const uint8_t> b)
{
    if ((b[0] | b[1] | b[2] | b[3]) & 0x80)
        return std::nullopt;
    return (uint32_t{b[0]} << 21) | (uint32_t{b[1]} << 14) | (uint32_t{b[2]} << 7) | b[3];
}

void PutSyncsafe(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 21; shift >= 0; shift -= 7)
        out.push_back(static_cast<uint8_t>((value >> shift) & 0x7F));
}

void PutPlain(std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}

// Undoes unsynchronisation: every 0xFF 0x00 becomes 0xFF.
std::vector<uint8_t> Resynchronised(std::span<const uint8_t> bytes)
{
    std::vector<uint8_t> out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        out.push_back(bytes[i]);
        if (bytes[i] == 0xFF && i + 1 < bytes.size() && bytes[i + 1] == 0x00)
            ++i;
    }
    return out;
}

bool IsFrameId(std::span<const uint8_t> body, size_t at)
{
    if (at + 4 > body.size())
        return false;
    return std::all_of(body.begin() + static_cast<std::ptrdiff_t>(at), body.begin() + static_cast<std::ptrdiff_t>(at + 4),
                       [](uint8_t c) { return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); });
}

bool OnlyZerosFrom(std::span<const uint8_t> body, size_t at)
{
    return std::all_of(body.begin() + static_cast<std::ptrdiff_t>(std::min(at, body.size())), body.end(),
                       [](uint8_t c) { return c == 0; });
}

struct TFrame {
    size_t Start;    // of its 10-byte header in the body
    uint32_t Size;   // of its data
};

// The frames of body from at on, sizes read as syncsafe or plain integers.
// Clean when every frame ends where another begins, where only padding
// follows, or at the body's end.
struct TWalk {
    std::vector<TFrame> Frames;
    bool Clean = true;
};

TWalk WalkFrames(std::span<const uint8_t> body, size_t at, bool syncsafe)
{
    TWalk walk;
    while (at + HeaderSize <= body.size() && body[at] != 0) {
        const std::span<const uint8_t> sizeBytes = body.subspan(at + 4, 4);
        const std::optional<uint32_t> size = syncsafe ? SyncsafeInt(sizeBytes) : PlainInt(sizeBytes);
        if (!IsFrameId(body, at) || !size || *size > body.size() - at - HeaderSize) {
            walk.Clean = false;
            break;
        }
        walk.Frames.push_back({at, *size});
        at += HeaderSize + *size;
    }
    if (walk.Clean && !OnlyZerosFrom(body, at) && at + HeaderSize <= body.size())
        walk.Clean = false;
    return walk;
}

// One frame's header and data as they go to the plain tag.
void PutFrame(std::vector<uint8_t>& out, std::span<const uint8_t> body, const TFrame& frame, int version)
{
    const std::span<const uint8_t> header = body.subspan(frame.Start, HeaderSize);
    std::span<const uint8_t> data = body.subspan(frame.Start + HeaderSize, frame.Size);
    uint8_t status = header[8], format = header[9];
    const bool v3 = version == 3;
    const uint8_t grouping = v3 ? 0x20 : 0x40, encryption = v3 ? 0x40 : 0x04;
    if (data.empty() || (format & encryption))
        return;
    std::vector<uint8_t> kept(data.begin(), data.end());
    if (format & grouping) {
        // The group byte follows the frame header in 2.4; in 2.3 it comes
        // after a compressed frame's 4-byte size.
        const size_t groupAt = v3 && (format & 0x80) ? 4 : 0;
        if (groupAt >= kept.size())
            return;
        kept.erase(kept.begin() + static_cast<std::ptrdiff_t>(groupAt));
        format = static_cast<uint8_t>(format & ~grouping);
    }
    if (kept.empty())
        return;
    out.insert(out.end(), header.begin(), header.begin() + 4);
    if (v3)
        PutPlain(out, static_cast<uint32_t>(kept.size()));
    else
        PutSyncsafe(out, static_cast<uint32_t>(kept.size()));
    out.push_back(status);
    out.push_back(format);
    out.insert(out.end(), kept.begin(), kept.end());
}

} // namespace

std::vector<uint8_t> PlainId3v2Tag(std::span<const uint8_t> tagBytes)
{
    const std::vector<uint8_t> unchanged(tagBytes.begin(), tagBytes.end());
    if (tagBytes.size() < HeaderSize || tagBytes[0] != 'I' || tagBytes[1] != 'D' || tagBytes[2] != '3')
        return unchanged;
    const int version = tagBytes[3];
    const std::optional<uint32_t> tagSize = SyncsafeInt(tagBytes.subspan(6, 4));
    if ((version != 3 && version != 4) || !tagSize)
        return unchanged;
    uint8_t flags = tagBytes[5];
    std::span<const uint8_t> body =
        tagBytes.subspan(HeaderSize, std::min<size_t>(*tagSize, tagBytes.size() - HeaderSize));
    std::vector<uint8_t> resynchronised;
    if (version == 3 && (flags & TagUnsynchronised)) {
        resynchronised = Resynchronised(body);
        body = resynchronised;
        flags = static_cast<uint8_t>(flags & ~TagUnsynchronised);
    }

    // The extended header: in 2.3 its size leaves out the 4 bytes that hold
    // it, in 2.4 it counts them and is syncsafe.
    size_t first = 0;
    if (flags & TagExtendedHeader) {
        if (body.size() < 4)
            return unchanged;
        const std::optional<uint32_t> size =
            version == 3 ? std::optional<uint32_t>(PlainInt(body.first(4)) + 4) : SyncsafeInt(body.first(4));
        if (!size || *size > body.size())
            return unchanged;
        first = *size;
    }

    // 2.4 frame sizes are syncsafe, but some programs write plain integers:
    // the reading that walks the whole tag cleanly wins.
    TWalk walk = WalkFrames(body, first, version == 4);
    if (version == 4 && !walk.Clean) {
        TWalk plain = WalkFrames(body, first, false);
        if (plain.Clean)
            walk = std::move(plain);
    }

    std::vector<uint8_t> out(tagBytes.begin(), tagBytes.begin() + HeaderSize);
    out[5] = static_cast<uint8_t>(flags & ~(TagExtendedHeader | TagFooter));
    for (const TFrame& frame : walk.Frames)
        PutFrame(out, body, frame, version);
    // The padding TagLib renders anew; the size must only be right.
    const size_t bodySize = out.size() - HeaderSize;
    out[6] = static_cast<uint8_t>((bodySize >> 21) & 0x7F);
    out[7] = static_cast<uint8_t>((bodySize >> 14) & 0x7F);
    out[8] = static_cast<uint8_t>((bodySize >> 7) & 0x7F);
    out[9] = static_cast<uint8_t>(bodySize & 0x7F);
    return out;
}

} // namespace vivizu
