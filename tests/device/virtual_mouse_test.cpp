// The virtual mouse's own behaviour: its starting state, the device side of the protocol, restart
// and being kept in a file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/device/sysfs_fixture.h"
#include "tests/device/test_support.h"

namespace kelv::device {
namespace {

using testing::FakeClock;
using testing::TestImage;

TEST(VirtualMouse, StartsFromTheImageInEachLayout) {
    const auto image = TestImage();
    struct Case {
        Layout layout;
        std::uint16_t macroAddress;
        std::uint8_t modeFlags;
    };
    for (const Case c :
         {Case{Layout::A, 0x0200, 0xBF}, Case{Layout::B, 0x4000, 0xBF}, Case{Layout::C, 0, 0xFF}}) {
        FakeClock clock;
        VirtualMouseOptions options;
        options.layout = c.layout;
        VirtualMouse mouse(clock, image, options);
        EXPECT_EQ(mouse.VendorId(), 0xF731);
        EXPECT_EQ(mouse.ProductId(), 0x7307);
        EXPECT_EQ(mouse.Parameter()[6], c.modeFlags);
        EXPECT_TRUE(
            std::equal(mouse.Profile().begin(), mouse.Profile().end(), image.begin() + 104));
        if (c.macroAddress != 0) {
            EXPECT_TRUE(std::equal(image.begin() + 256, image.end(),
                                   mouse.Memory().begin() + c.macroAddress));
        }
        unsigned sum = 0;
        for (int i = 0; i < 103; ++i) sum += mouse.Parameter()[i];
        if (c.layout == Layout::C) {
            EXPECT_EQ(mouse.Parameter()[103], ((sum & 0xFF) ^ 0x5A));
        }
    }
    // An image of zeros (or a short one) still gives a working mouse.
    FakeClock clock;
    VirtualMouse blank(clock, std::vector<std::uint8_t>(10, 0), {});
    EXPECT_EQ(blank.VendorId(), 0);
}

TEST(VirtualMouse, RefusesMalformedReports) {
    FakeClock clock;
    VirtualMouseOptions options;
    options.separateInterfaces = true;
    VirtualMouse mouse(clock, TestImage(), options);
    const std::pair<int, Report> refused[] = {
        {0, {0x40, 0x05, 0, 10, 1, 2, 3, 0}},  // count 0
        {0, {0x40, 0x05, 0, 10, 1, 2, 3, 4}},  // count 4
        {0, {0x40, 0x05, 2, 10, 1, 2, 3, 1}},  // no section 2
        {0, {0x40, 0x06, 3, 0, 0, 10, 0, 0}},
        {0, {0x40, 0x01, 0, 0, 0, 0, 0, 0}},  // unknown command
        {0, {0x42, 0x0D, 0, 0, 0, 0, 0, 0}},  // unknown report
        {1, {0x40, 0x0D, 0, 0, 0, 0, 0, 0}},  // command on the data interface
        {0, {0x41, 1, 2, 3, 4, 5, 6, 7}},     // data on the command interface
    };
    const auto before = mouse.Parameter();
    for (const auto& [iface, report] : refused) {
        EXPECT_FALSE(mouse.HandleSetFeature(iface, report)) << int{report[1]};
    }
    EXPECT_EQ(mouse.Parameter(), before);
    Report fetch{0x41};
    EXPECT_FALSE(mouse.HandleGetFeature(0, fetch));
    // A piece past the end of the section stores only what fits.
    EXPECT_TRUE(mouse.HandleSetFeature(0, {0x40, 0x05, 1, 143, 9, 8, 7, 6}));
    EXPECT_EQ(mouse.Profile()[143], 9);
    EXPECT_EQ(mouse.Profile()[144], 8);
}

TEST(VirtualMouse, RestartLeavesTheBusForTheSetTime) {
    FakeClock clock;
    VirtualMouseOptions options;
    options.restartMicros = 800000;
    VirtualMouse mouse(clock, TestImage(), options);
    VirtualHidPort port(&mouse);
    auto handle = port.Open("virtual:kelv731x/0");
    ASSERT_TRUE(handle);
    EXPECT_TRUE(handle->SetFeature({0x40, 0x0E, 0, 0, 0, 0, 0, 0}));
    EXPECT_TRUE(port.ListInterfaces().empty());
    EXPECT_EQ(port.Open("virtual:kelv731x/0"), nullptr);
    clock.now += 799999;
    EXPECT_FALSE(mouse.Present());
    clock.now += 1;
    EXPECT_TRUE(mouse.Present());
    EXPECT_EQ(port.ListInterfaces(), std::vector<std::string>{"virtual:kelv731x/0"});
    Report fetch{0x41};
    EXPECT_FALSE(handle->GetFeature(fetch));  // the handle from before the restart stays dead
    EXPECT_TRUE(port.Open("virtual:kelv731x/0")->GetFeature(fetch));
    EXPECT_EQ(port.Open("virtual:kelv731x/1"), nullptr);
    EXPECT_EQ(port.Open("/dev/hidraw0"), nullptr);
}

class VirtualMouseFile : public ::testing::Test {
  protected:
    std::string Path(const std::string& name) { return dir.Root() + "/" + name; }
    testing::SysfsFixture dir;  // just a temporary folder here
    FakeClock clock;
};

TEST_F(VirtualMouseFile, KeepsSectionsMemoryAndLayout) {
    VirtualMouseOptions options;
    options.layout = Layout::C;
    options.chipType = 17;
    VirtualMouse mouse(clock, TestImage(), options);
    mouse.Parameter()[33] = 2;
    mouse.Profile()[0] = 0x10;
    mouse.Memory()[0x5FFF] = 0xAB;
    std::string error;
    ASSERT_TRUE(SaveVirtualMouse(mouse, Path("mouse.kvm"), error)) << error;
    ASSERT_TRUE(SaveVirtualMouse(mouse, Path("mouse.kvm"), error)) << error;  // replaces it

    VirtualMouse loaded(clock, {}, {});
    bool missing = true;
    ASSERT_TRUE(LoadVirtualMouse(loaded, Path("mouse.kvm"), missing, error)) << error;
    EXPECT_FALSE(missing);
    EXPECT_EQ(loaded.Options().layout, Layout::C);
    EXPECT_EQ(loaded.Options().chipType, 17);
    EXPECT_EQ(loaded.Parameter(), mouse.Parameter());
    EXPECT_EQ(loaded.Profile(), mouse.Profile());
    EXPECT_EQ(loaded.Memory(), mouse.Memory());
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Root())) {
        files += entry.is_regular_file();
    }
    EXPECT_EQ(files, 1);  // no temporary file left behind
}

TEST_F(VirtualMouseFile, MissingDamagedAndForeignFilesAreToldApart) {
    VirtualMouse mouse(clock, TestImage(), {});
    std::string error;
    ASSERT_TRUE(SaveVirtualMouse(mouse, Path("good.kvm"), error));
    const auto good = std::filesystem::file_size(Path("good.kvm"));
    std::filesystem::copy_file(Path("good.kvm"), Path("short.kvm"));
    std::filesystem::resize_file(Path("short.kvm"), good - 1);
    std::ofstream(Path("foreign.kvm")) << "hello";

    bool missing = false;
    EXPECT_FALSE(LoadVirtualMouse(mouse, Path("absent.kvm"), missing, error));
    EXPECT_TRUE(missing);
    const std::pair<const char*, const char*> bad[] = {{"short.kvm", "damaged"},
                                                       {"foreign.kvm", "not a virtual mouse"}};
    for (const auto& [name, why] : bad) {
        error.clear();
        EXPECT_FALSE(LoadVirtualMouse(mouse, Path(name), missing, error));
        EXPECT_FALSE(missing);
        EXPECT_NE(error.find(Path(name)), std::string::npos) << error;
        EXPECT_NE(error.find(why), std::string::npos) << error;
    }
    EXPECT_FALSE(SaveVirtualMouse(mouse, Path("no/such/folder/m.kvm"), error));
    EXPECT_NE(error.find("cannot save"), std::string::npos);
}

}  // namespace
}  // namespace kelv::device
