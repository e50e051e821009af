#pragma once
// A preview device for the window's tests, whose answers the test sets.
#include "engine/MediaDevice.h"

#include <cstdint>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

namespace vivizu::test {

// A device whose answers the test sets: it plays when asked unless told not
// to, and stays in the mode the test gives it.
struct DeviceScript {
    bool Opened = false;
    TMediaMode Mode = TMediaMode::NotReady;
    int64_t Position = -1;
    bool PlayStarts = true;
    const char* OpenError = nullptr;
    uint32_t SeekMs = 0, PlayToMs = 0;
    int Opens = 0, Closes = 0;
    // The file last opened and its bytes as they were at the opening.
    std::string OpenedName, OpenedBytes;
};

class ScriptedDevice final : public TMediaDevice {
public:
    explicit ScriptedDevice(std::shared_ptr<DeviceScript> script) : S(std::move(script)) {}
    void Open(const std::string& fileName) override {
        if (S->OpenError)
            throw TMediaError(S->OpenError);
        ++S->Opens;
        S->OpenedName = fileName;
        std::ifstream in(fileName, std::ios::binary);
        S->OpenedBytes.assign(std::istreambuf_iterator<char>(in), {});
        S->Opened = true;
        S->Mode = TMediaMode::Stopped;
    }
    bool IsOpen() const override { return S->Opened; }
    bool Seek(uint32_t ms) override {
        S->SeekMs = ms;
        return true;
    }
    bool PlayTo(uint32_t ms) override {
        S->PlayToMs = ms;
        if (S->PlayStarts)
            S->Mode = TMediaMode::Playing;
        return S->PlayStarts;
    }
    TMediaMode Mode() const override { return S->Opened ? S->Mode : TMediaMode::NotReady; }
    int64_t Position() const override { return S->Opened ? S->Position : -1; }
    void Close() override {
        ++S->Closes;
        S->Opened = false;
        S->Mode = TMediaMode::NotReady;
    }

private:
    std::shared_ptr<DeviceScript> S;
};

} // namespace vivizu::test
