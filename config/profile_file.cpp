#include "config/profile_file.h"

#include "config/byte_copy.h"

namespace kelv::config {

std::size_t ProfileFileSize(StorageKind storage) {
    switch (storage) {
        case StorageKind::I2C:
            return kI2CProfileFileSize;
        case StorageKind::Flash:
            return kFlashProfileFileSize;
        case StorageKind::None:
            break;
    }
    return kProfileFileHeaderSize;
}

std::vector<std::uint8_t> EncodeProfileFile(const ParameterSection& parameter,
                                            const ProfileSection& profile, StorageKind storage,
                                            const MacroData& macros) {
    std::vector<std::uint8_t> file;
    file.reserve(ProfileFileSize(storage));
    file.insert(file.end(), parameter.begin(), parameter.end());
    file.insert(file.end(), profile.begin(), profile.end());
    file.resize(kProfileFileHeaderSize, 0xFF);
    if (storage == StorageKind::I2C) {
        file.insert(file.end(), macros.packedArea.begin(), macros.packedArea.end());
    } else if (storage == StorageKind::Flash) {
        file.insert(file.end(), macros.nameTable.begin(), macros.nameTable.end());
        for (const auto& page : macros.pages) file.insert(file.end(), page.begin(), page.end());
    }
    return file;
}

ProfileLoadResult DecodeProfileFile(std::span<const std::uint8_t> file, StorageKind storage,
                                    ProfileFileContents& target) {
    using detail::CopyAvailable;
    const bool markerOk =
        !file.empty() && (storage == StorageKind::None || StorageFromMarker(file[0]) == storage);
    if (!markerOk) return {false, std::string(kProfileLoadErrorText)};

    CopyAvailable(file, kProfileFileParameterOffset, target.parameter);
    CopyAvailable(file, kProfileFileProfileOffset, target.profile);
    if (storage == StorageKind::I2C) {
        CopyAvailable(file, kProfileFileMacroOffset, target.macros.packedArea);
    } else if (storage == StorageKind::Flash) {
        CopyAvailable(file, kProfileFileMacroOffset, target.macros.nameTable);
        for (std::size_t i = 0; i < target.macros.pages.size(); ++i)
            CopyAvailable(file, kProfileFilePagesOffset + kMacroPageSize * i,
                          target.macros.pages[i]);
    }
    return {true, {}};
}

}  // namespace kelv::config
