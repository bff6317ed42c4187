// The hidraw backend over a fixture sysfs tree and a stand-in for the kernel.
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <map>

#include "device/hidraw_port.h"
#include "tests/device/descriptor_fixtures.h"
#include "tests/device/sysfs_fixture.h"
#include "tests/device/test_support.h"

namespace kelv::device {
namespace {

using testing::kProduct;
using testing::kVendor;

// Answers the hidraw ioctls; the mouse's node is wired to a virtual mouse.
class FakeKernel : public HidrawSyscalls {
  public:
    struct Node {
        std::uint16_t vendor = 0, product = 0;
        bool openable = true;
        VirtualMouse* mouse = nullptr;
    };
    int Open(const std::string& path, int flags) override {
        lastFlags = flags;
        auto it = nodes.find(path);
        if (it == nodes.end()) {
            errno = ENOENT;
            return -1;
        }
        if (!it->second.openable) {
            errno = EACCES;
            return -1;
        }
        const int fd = nextFd++;
        open[fd] = path;
        return fd;
    }
    int Close(int fd) override { return open.erase(fd) ? 0 : (errno = EBADF, -1); }
    int Ioctl(int fd, unsigned long request, void* argument) override {
        if (pendingEintr > 0) {
            --pendingEintr;
            errno = EINTR;
            return -1;
        }
        if (failWith != 0 && (failAfterCalls == 0 || --failAfterCalls == 0)) {
            errno = failWith;
            return -1;
        }
        const Node& node = nodes.at(open.at(fd));
        auto* report = static_cast<Report*>(argument);
        if (request == HIDIOCGRAWINFO) {
            auto* info = static_cast<hidraw_devinfo*>(argument);
            info->bustype = 3;
            info->vendor = static_cast<__s16>(node.vendor);
            info->product = static_cast<__s16>(node.product);
            return 0;
        }
        if (request == HIDIOCSFEATURE(8)) {
            sent.push_back(*report);
            if (!node.mouse || !node.mouse->HandleSetFeature(0, *report)) {
                errno = EPIPE;
                return -1;
            }
            return 8;
        }
        if (request == HIDIOCGFEATURE(8)) {
            if (!node.mouse || !node.mouse->HandleGetFeature(0, *report)) {
                errno = EPIPE;
                return -1;
            }
            return 8;
        }
        errno = EINVAL;
        return -1;
    }

    std::map<std::string, Node> nodes;
    std::map<int, std::string> open;
    std::vector<Report> sent;
    int nextFd = 3;
    int failWith = 0;
    int failAfterCalls = 0;  // with failWith: calls that still succeed first
    int pendingEintr = 0;
    int lastFlags = 0;
};

struct HidrawRig {
    HidrawRig()
        : image(testing::TestImage()),
          mouse(clock, image, {}),
          port(HidrawRoots{tree.Sysfs(), tree.Dev()}, kernel),
          link(port, clock, host, EnglishLinkTexts()) {
        tree.AddNode("hidraw0", 3, 0x046D, 0xC31C, "Logi USB Keyboard", testing::kBootKeyboard,
                     "6400");
        tree.AddNode("hidraw1", 3, kVendor, kProduct, "HID Gaming mouse",
                     testing::kMultiCollectionMouse, "0105");
        tree.AddNode("hidraw2", 3, kVendor, kProduct, "HID Gaming mouse",
                     testing::kVendorCommandCollection, "0105");
        tree.AddNode("hidraw10", 5, 0x046D, 0xB01A, "BT Mouse", testing::kMultiCollectionMouse, "");
        kernel.nodes[tree.Dev() + "/hidraw0"] = {0x046D, 0xC31C, true, nullptr};
        kernel.nodes[tree.Dev() + "/hidraw1"] = {kVendor, kProduct, true, nullptr};
        kernel.nodes[tree.Dev() + "/hidraw2"] = {kVendor, kProduct, true, &mouse};
        kernel.nodes[tree.Dev() + "/hidraw10"] = {0x046D, 0xB01A, false, nullptr};
        link.SetDefaultImage(image);
    }
    testing::SysfsFixture tree;
    FakeKernel kernel;
    std::vector<std::uint8_t> image;
    testing::FakeClock clock;
    testing::RecordingHost host;
    VirtualMouse mouse;
    HidrawPort port;
    DeviceLink link;
};

TEST(Hidraw, ListsNodesInNumericOrderWithWhatSysfsTells) {
    HidrawRig rig;
    std::filesystem::create_directories(rig.tree.Sysfs() + "/class/hidraw/not-a-node");
    const auto rows = rig.port.Describe();
    ASSERT_EQ(rows.size(), 4u);
    struct Expected {
        const char* node;
        std::uint16_t vendor, product, release, feature;
        bool openable;
        const char* name;
    };
    const Expected expected[] = {
        {"hidraw0", 0x046D, 0xC31C, 0x6400, 0, true, "Logi USB Keyboard"},
        {"hidraw1", kVendor, kProduct, 0x0105, 6, true, "HID Gaming mouse"},
        {"hidraw2", kVendor, kProduct, 0x0105, 8, true, "HID Gaming mouse"},
        {"hidraw10", 0x046D, 0xB01A, 0, 6, false, "BT Mouse"},
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].path, rig.tree.Dev() + "/" + expected[i].node);
        EXPECT_EQ(rows[i].attributes.vendorId, expected[i].vendor) << i;
        EXPECT_EQ(rows[i].attributes.productId, expected[i].product) << i;
        EXPECT_EQ(rows[i].attributes.release, expected[i].release) << i;
        EXPECT_EQ(rows[i].featureReportLength, expected[i].feature) << i;
        EXPECT_EQ(rows[i].openable, expected[i].openable) << i;
        EXPECT_EQ(rows[i].name, expected[i].name) << i;
    }
    EXPECT_TRUE(rig.kernel.open.empty());
}

TEST(Hidraw, LinkFindsTheMouseAndSpeaksThroughFeatureIoctls) {
    HidrawRig rig;
    EXPECT_EQ(rig.link.CountHidInterfaces(), 3);
    std::uint16_t version = 0;
    ASSERT_TRUE(rig.link.OpenDevice(kVendor, kProduct, version));
    EXPECT_EQ(version, 0x0105);
    EXPECT_EQ(rig.kernel.lastFlags, O_RDWR | O_CLOEXEC);
    EXPECT_EQ(rig.kernel.open.size(), 1u);  // hidraw1 (feature length 6) was closed again
    rig.kernel.sent.clear();
    std::vector<std::uint8_t> section(145);
    rig.kernel.pendingEintr = 1;  // an interrupted call is repeated, not failed
    ASSERT_TRUE(rig.link.ReadSection(1, 0, 145, section));
    ASSERT_EQ(rig.kernel.sent.size(), 1u);
    EXPECT_EQ(rig.kernel.sent[0], (Report{0x40, 0x06, 1, 0, 0, 145, 0, 0}));
    EXPECT_TRUE(std::equal(section.begin(), section.end(), rig.mouse.Profile().begin()));
    rig.link.CloseDevice();
    EXPECT_TRUE(rig.kernel.open.empty());
}

TEST(Hidraw, RemovedDeviceFailsEveryCallCleanly) {
    for (int error : {ENODEV, EIO, EPIPE}) {
        HidrawRig rig;
        std::uint16_t version = 0;
        ASSERT_TRUE(rig.link.OpenDevice(kVendor, kProduct, version));
        rig.kernel.failWith = error;
        std::vector<std::uint8_t> page(256, 0);
        EXPECT_TRUE(rig.link.ReadMemory(0x4000, 256, page) == false) << error;
        EXPECT_FALSE(rig.link.SendData(1, 2, 3, 4, 5, 6, 7)) << error;
        rig.link.ReadData();
        EXPECT_EQ(rig.link.ReplyBuffer()[0], 0xFF) << error;
        HidAttributes attributes;
        EXPECT_FALSE(rig.link.CommandHandle()->GetAttributes(attributes)) << error;
        EXPECT_EQ(rig.link.ReadDevInfo(), DevInfoResult::CommandRefused) << error;
    }
}

TEST(Hidraw, UnplugMidTransferLeavesTheRestFF) {
    for (int error : {ENODEV, EIO, EPIPE}) {
        HidrawRig rig;
        std::uint16_t version = 0;
        ASSERT_TRUE(rig.link.OpenDevice(kVendor, kProduct, version));
        rig.kernel.failWith = error;
        rig.kernel.failAfterCalls = 1 + 5 + 1;  // the command and five fetches get through
        std::vector<std::uint8_t> page(256, 0);
        EXPECT_TRUE(rig.link.ReadMemory(0x0200, 256, page)) << error;
        for (std::size_t i = 0; i < page.size(); ++i) {
            EXPECT_EQ(page[i], i < 35 ? rig.image[256 + i] : 0xFF) << error << " " << i;
        }
    }
}

TEST(Hidraw, MissingSysfsMeansNoInterfaces) {
    FakeKernel kernel;
    HidrawPort port(HidrawRoots{"/nonexistent/sys", "/nonexistent/dev"}, kernel);
    EXPECT_TRUE(port.ListInterfaces().empty());
    EXPECT_TRUE(port.Describe().empty());
    EXPECT_EQ(port.Open("/nonexistent/dev/hidraw0"), nullptr);
}

}  // namespace
}  // namespace kelv::device
