#pragma once
// The preview device as the program holds it: a stand-in that loads the
// real device (libmpg123 and SDL2, built as the module libvivizu-media.so
// beside the executables, installed in lib/vivizu) only when a file is first
// opened. A program that never plays anything never loads the sound
// libraries.
#include "engine/MediaDevice.h"

#include <memory>
#include <string>

// The module's one entry: a new device, owned by the caller, or null when
// none could be made. Defined in the module, looked up by name here.
extern "C" vivizu::TMediaDevice* VivizuCreateMediaDevice();

namespace vivizu {

// The module's file name.
inline constexpr char MediaModuleFileName[] = "libvivizu-media.so";

// The module beside the running executable, or in ../lib/vivizu of an
// installed copy.
std::string MediaModulePath();

class TLazyMediaDevice final : public TMediaDevice {
public:
    // modulePath: the module to load on the first Open.
    explicit TLazyMediaDevice(std::string modulePath);

    // Loads the module and makes the real device first, when not done yet;
    // throws TMediaError with the loader's reason when the module cannot be
    // loaded. After that, every call goes to the real device.
    void Open(const std::string& fileName) override;
    // Before loading: nothing is open, NotReady, position -1, Seek and
    // PlayTo refused, Close harmless.
    bool IsOpen() const override;
    bool Seek(uint32_t ms) override;
    bool PlayTo(uint32_t ms) override;
    TMediaMode Mode() const override;
    int64_t Position() const override;
    void Close() override;

    // Whether the real device has been made.
    bool Loaded() const { return FDevice != nullptr; }

private:
    std::string FModulePath;
    std::unique_ptr<TMediaDevice> FDevice;
};

// The program's preview device: a TLazyMediaDevice on MediaModulePath().
std::unique_ptr<TMediaDevice> LoadMediaDevice();

} // namespace vivizu
