#pragma once
// A media device that only counts how often the engine closes it.
#include "engine/MediaDevice.h"

namespace vivizu::test {

class FakeDevice : public TMediaDevice {
public:
    explicit FakeDevice(int& closes) : FCloses(closes) {}
    void Open(const std::string&) override {}
    bool IsOpen() const override { return false; }
    bool Seek(uint32_t) override { return true; }
    bool PlayTo(uint32_t) override { return true; }
    TMediaMode Mode() const override { return TMediaMode::NotReady; }
    int64_t Position() const override { return -1; }
    void Close() override { ++FCloses; }

private:
    int& FCloses;
};

} // namespace vivizu::test
