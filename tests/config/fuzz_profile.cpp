// Profile files and default images of any content and length.
#include <cstddef>
#include <cstdint>
#include <span>

#include "config/default_image.h"
#include "config/profile_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace kelv::config;
    const std::span<const std::uint8_t> bytes(data, size);
    for (const StorageKind storage : {StorageKind::None, StorageKind::I2C, StorageKind::Flash}) {
        ProfileFileContents target{};
        if (DecodeProfileFile(bytes, storage, target).ok)
            (void)EncodeProfileFile(target.parameter, target.profile, storage, target.macros);
    }
    const DefaultImage image = ParseDefaultImage(bytes);
    ConfigImage config;
    ApplyDefaults(config, image);
    config.DeviceFromDefaults();
    config.LoadPagesFromDevice();
    (void)ProductName(config.PageParameter());
    return 0;
}
