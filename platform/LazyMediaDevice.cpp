#include "platform/LazyMediaDevice.h"

#include "platform/ProgramFolder.h"

#include <dlfcn.h>

#include <utility>

namespace vivizu {

namespace {

using TCreateEntry = decltype(&VivizuCreateMediaDevice);

// dlerror()'s text, or a stand-in when it has none.
std::string LoaderReason()
{
    const char* reason = dlerror();
    return reason ? reason : "unknown reason";
}

// Loads the module at path and makes a device from it. The module stays
// loaded for the rest of the process: devices made from it, and exceptions
// thrown by them, run its code.
std::unique_ptr<TMediaDevice> CreateFromModule(const std::string& path)
{
    dlerror(); // clear any earlier report
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        throw TMediaError("The preview module could not be loaded: " + LoaderReason());
    auto* entry = reinterpret_cast<TCreateEntry>(dlsym(module, "VivizuCreateMediaDevice"));
    if (!entry)
        throw TMediaError("The preview module " + path + " has no device entry: " +
                          LoaderReason());
    std::unique_ptr<TMediaDevice> device(entry());
    if (!device)
        throw TMediaError("The preview module " + path + " could not create its device");
    return device;
}

} // namespace

std::string MediaModulePath()
{
    return FolderHolding(ExecutableFolder(), MediaModuleFileName, "lib/vivizu") +
           MediaModuleFileName;
}

TLazyMediaDevice::TLazyMediaDevice(std::string modulePath) : FModulePath(std::move(modulePath))
{
}

void TLazyMediaDevice::Open(const std::string& fileName)
{
    if (!FDevice)
        FDevice = CreateFromModule(FModulePath);
    FDevice->Open(fileName);
}

bool TLazyMediaDevice::IsOpen() const
{
    return FDevice && FDevice->IsOpen();
}

bool TLazyMediaDevice::Seek(uint32_t ms)
{
    return FDevice && FDevice->Seek(ms);
}

bool TLazyMediaDevice::PlayTo(uint32_t ms)
{
    return FDevice && FDevice->PlayTo(ms);
}

TMediaMode TLazyMediaDevice::Mode() const
{
    return FDevice ? FDevice->Mode() : TMediaMode::NotReady;
}

int64_t TLazyMediaDevice::Position() const
{
    return FDevice ? FDevice->Position() : -1;
}

void TLazyMediaDevice::Close()
{
    if (FDevice)
        FDevice->Close();
}

std::unique_ptr<TMediaDevice> LoadMediaDevice()
{
    return std::make_unique<TLazyMediaDevice>(MediaModulePath());
}

} // namespace vivizu
