#pragma once
// A stream's levels on an even grid of granules, as the overview shows them.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <span>
#include <vector>

namespace vivizu {

// Levels in [0, 1], kept in two bytes each as the level cache stores them
// (the stored value over 65535): an 8-hour stream's two million granules
// take 4 MB. A level read back is the stored one, so that a picture drawn
// from a decode and from the cache are the same picture.
class TUnitLevels {
public:
    static constexpr float Scale = 65535.0f;
    // The nearest step, halves rounded up (as std::lround rounds these
    // non-negative values), without a library call: this runs for every
    // granule as a file opens.
    static uint16_t Quantise(float level)
    {
        if (!(level > 0.0f))
            return 0;
        return static_cast<uint16_t>(std::min(level, 1.0f) * Scale + 0.5f);
    }
    static float FromStored(uint16_t stored) { return static_cast<float>(stored) / Scale; }

    // Reads the levels as floats; random access.
    class const_iterator {
    public:
        using iterator_category = std::random_access_iterator_tag;
        using value_type = float;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = float;

        const_iterator() = default;
        explicit const_iterator(const uint16_t* at) : FAt(at) {}
        float operator*() const { return FromStored(*FAt); }
        float operator[](difference_type n) const { return FromStored(FAt[n]); }
        const_iterator& operator++() { ++FAt; return *this; }
        const_iterator operator++(int) { return const_iterator(FAt++); }
        const_iterator& operator--() { --FAt; return *this; }
        const_iterator operator--(int) { return const_iterator(FAt--); }
        const_iterator& operator+=(difference_type n) { FAt += n; return *this; }
        const_iterator& operator-=(difference_type n) { FAt -= n; return *this; }
        friend const_iterator operator+(const_iterator i, difference_type n) { return i += n; }
        friend const_iterator operator+(difference_type n, const_iterator i) { return i += n; }
        friend const_iterator operator-(const_iterator i, difference_type n) { return i -= n; }
        friend difference_type operator-(const_iterator a, const_iterator b) { return a.FAt - b.FAt; }
        friend bool operator==(const_iterator a, const_iterator b) { return a.FAt == b.FAt; }
        friend auto operator<=>(const_iterator a, const_iterator b) { return a.FAt <=> b.FAt; }

    private:
        const uint16_t* FAt = nullptr;
    };

    TUnitLevels() = default;
    // Levels given as floats, each kept as it is stored.
    TUnitLevels(const std::vector<float>& levels)
    {
        FStored.reserve(levels.size());
        for (const float level : levels)
            push_back(level);
    }

    size_t size() const { return FStored.size(); }
    bool empty() const { return FStored.empty(); }
    float operator[](size_t i) const { return FromStored(FStored[i]); }
    const_iterator begin() const { return const_iterator(FStored.data()); }
    const_iterator end() const { return const_iterator(FStored.data() + FStored.size()); }

    void push_back(float level) { FStored.push_back(Quantise(level)); }
    void insert_back(size_t count, float level) { FStored.insert(FStored.end(), count, Quantise(level)); }
    void assign(size_t count, float level) { FStored.assign(count, Quantise(level)); }
    void Set(size_t i, float level) { FStored[i] = Quantise(level); }
    void Fill(size_t from, size_t to, float level) { std::fill(FStored.begin() + static_cast<std::ptrdiff_t>(from), FStored.begin() + static_cast<std::ptrdiff_t>(to), Quantise(level)); }
    void resize(size_t count) { FStored.resize(count); }
    void reserve(size_t count) { FStored.reserve(count); }
    void shrink_to_fit() { FStored.shrink_to_fit(); }

    // The stored values, as the cache writes and reads them.
    std::span<const uint16_t> Stored() const { return FStored; }
    std::vector<uint16_t>& Stored() { return FStored; }

    bool operator==(const TUnitLevels&) const = default;

private:
    std::vector<uint16_t> FStored;
};

// Levels on an even grid of granules, each in [0, 1]: 0 is silence or
// anything below LevelFloorDb, 1 is full scale.
struct TGranuleLevels {
    double MsPerGranule = 0.0;
    TUnitLevels Levels;

    bool Empty() const { return Levels.empty(); }
    double DurationMs() const { return MsPerGranule * static_cast<double>(Levels.size()); }
};

inline constexpr double LevelFloorDb = -120.0;

} // namespace vivizu
