#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "device/virtual_mouse.h"

namespace kelv::device {

namespace {

constexpr char kMagic[8] = {'K', 'E', 'L', 'V', 'V', 'M', '0', '1'};
constexpr std::size_t kHeaderLength = sizeof(kMagic) + 4;  // + layout, chip type, 2 reserved
constexpr std::size_t kFileLength = kHeaderLength + 104 + 145 + VirtualMouse::kMemorySize;

char LayoutLetter(Layout layout) {
    const std::string_view name = LayoutName(layout);
    return name.empty() ? '?' : name[0];
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t length) {
    while (length > 0) {
        const ssize_t n = ::write(fd, data, length);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        length -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool SaveVirtualMouse(const VirtualMouse& mouse, const std::string& path, std::string& error) {
    std::vector<std::uint8_t> bytes(std::begin(kMagic), std::end(kMagic));
    bytes.push_back(static_cast<std::uint8_t>(LayoutLetter(mouse.Options().layout)));
    bytes.push_back(mouse.Options().chipType);
    bytes.push_back(0);
    bytes.push_back(0);
    bytes.insert(bytes.end(), mouse.Parameter().begin(), mouse.Parameter().end());
    bytes.insert(bytes.end(), mouse.Profile().begin(), mouse.Profile().end());
    bytes.insert(bytes.end(), mouse.Memory().begin(), mouse.Memory().end());

    std::string temp = path + ".tmp.XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = path + ": cannot save the virtual mouse: " + std::strerror(errno);
        return false;
    }
    const bool written = WriteAll(fd, bytes.data(), bytes.size()) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temp.c_str(), path.c_str()) != 0) {
        const int why = !written ? savedErrno : errno;
        ::unlink(temp.c_str());
        error = path + ": cannot save the virtual mouse: " + std::strerror(why);
        return false;
    }
    return true;
}

bool LoadVirtualMouse(VirtualMouse& mouse, const std::string& path, bool& missing,
                      std::string& error) {
    missing = false;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (errno == ENOENT) {
            missing = true;
        } else {
            error = path + ": cannot read the virtual mouse: " + std::strerror(errno);
        }
        return false;
    }
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    if (bytes.size() < sizeof(kMagic) || std::memcmp(bytes.data(), kMagic, sizeof(kMagic)) != 0) {
        error = path + ": not a virtual mouse file";
        return false;
    }
    if (bytes.size() != kFileLength) {
        error = path + ": damaged virtual mouse file (" + std::to_string(bytes.size()) +
                " bytes, expected " + std::to_string(kFileLength) + ")";
        return false;
    }
    Layout layout;
    switch (bytes[8]) {
        case 'A':
            layout = Layout::A;
            break;
        case 'B':
            layout = Layout::B;
            break;
        case 'C':
            layout = Layout::C;
            break;
        default:
            error = path + ": damaged virtual mouse file (unknown layout)";
            return false;
    }
    mouse.Options().layout = layout;
    mouse.Options().chipType = bytes[9];
    auto at = bytes.begin() + kHeaderLength;
    std::copy(at, at + 104, mouse.Parameter().begin());
    at += 104;
    std::copy(at, at + 145, mouse.Profile().begin());
    at += 145;
    std::copy(at, bytes.end(), mouse.Memory().begin());
    return true;
}

}  // namespace kelv::device
