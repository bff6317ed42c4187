#include "device/hid_port.h"

namespace kelv::device {

std::vector<HidInterfaceInfo> HidPort::Describe() {
    std::vector<HidInterfaceInfo> rows;
    for (const std::string& path : ListInterfaces()) {
        HidInterfaceInfo row;
        row.path = path;
        if (auto device = Open(path)) {
            row.openable = true;
            device->GetAttributes(row.attributes);
            device->GetFeatureReportLength(row.featureReportLength);
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace kelv::device
