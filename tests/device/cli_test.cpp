// kelvctl end to end: list over a fixture sysfs tree, info against the virtual mouse.
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "device/device_link.h"
#include "resources/bundle.h"
#include "tests/device/descriptor_fixtures.h"
#include "tests/device/sysfs_fixture.h"

namespace kelv::device {
namespace {

struct Result {
    int status;
    std::string out, err;
};

class Kelvctl : public ::testing::Test {
  protected:
    Result Run(const std::string& args) {
        const std::string out = tree.Root() + "/out", err = tree.Root() + "/err";
        const std::string line = std::string(KELVCTL_PATH) + " " + args + " >" + out + " 2>" + err;
        const int raw = std::system(line.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
    }
    static std::string Slurp(const std::string& path) {
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static bool OneLine(const std::string& text) {
        return !text.empty() && text.find('\n') == text.size() - 1;
    }
    std::span<const std::uint8_t> image = res::Get("KELV731xData");
    DeviceIds ids = DeviceIdsFromImage(image);
    testing::SysfsFixture tree;
};

TEST_F(Kelvctl, ListShowsEveryInterfaceAndMarksTheMouse) {
    tree.AddNode("hidraw0", 3, 0x046D, 0xC31C, "Keyboard", testing::kBootKeyboard, "6400");
    tree.AddNode("hidraw1", 3, ids.vendorId, ids.productId, "GamingMouse",
                 testing::kVendorCommandCollection, "0105");
    tree.AddNode("hidraw2", 3, ids.vendorId, ids.productId, "GamingMouse",
                 testing::kMultiCollectionMouse, "0105");
    tree.AddNode("hidraw3", 3, 0x1234, 0x5678, "Gone", testing::kBootKeyboard, "0001");
    std::filesystem::remove(tree.Dev() + "/hidraw3");

    const Result r = Run("list --sysfs-root " + tree.Sysfs() + " --dev-root " + tree.Dev());
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream lines(r.out);
    std::string header, line;
    std::getline(lines, header);
    EXPECT_NE(header.find("FEATURE"), std::string::npos);
    char vidpid[16];
    std::snprintf(vidpid, sizeof vidpid, "%04x:%04x", ids.vendorId, ids.productId);
    const std::vector<std::vector<std::string>> expected = {
        {"/hidraw0", "046d:c31c", "6400", "0", "yes", "no", "Keyboard"},
        {"/hidraw1", vidpid, "0105", "8", "yes", "yes", "GamingMouse"},
        {"/hidraw2", vidpid, "0105", "6", "yes", "no", "GamingMouse"},
        {"/hidraw3", "1234:5678", "0001", "0", "no", "no", "Gone"},
    };
    for (const auto& fields : expected) {
        ASSERT_TRUE(std::getline(lines, line));
        std::istringstream words(line);
        std::string path, word;
        words >> path;
        EXPECT_EQ(path, tree.Dev() + fields[0]);
        for (std::size_t i = 1; i < fields.size(); ++i) {
            words >> word;
            EXPECT_EQ(word, fields[i]) << line;
        }
    }
}

TEST_F(Kelvctl, InfoIdentifiesTheVirtualMouse) {
    const std::string storage = ImageStorageFromImage(image);
    struct Case {
        const char* options;
        const char* layout;
        const char* height;
        bool mismatch;
    };
    const Case cases[] = {
        {"", "A", "170", storage == "Flash"},
        {"--virtual-layout=B --virtual-chip=1", "B", "146", storage == "Flash"},
        {"--virtual-layout=C --virtual-split --virtual-chip=2 --virtual-decoys", "C", "as laid out",
         storage == "I2C"},
    };
    for (const Case& c : cases) {
        const Result r = Run(std::string("info --virtual-mouse ") + c.options);
        EXPECT_NE(r.out.find(std::string("layout          ") + c.layout + "\n"), std::string::npos)
            << r.out;
        EXPECT_NE(r.out.find(std::string("key menu height ") + c.height + "\n"), std::string::npos)
            << r.out;
        if (c.mismatch) {
            EXPECT_EQ(r.status, 1);
            EXPECT_EQ(r.err, "kelvctl: KELV731xData.bin file type error\n");
        } else {
            EXPECT_EQ(r.status, 0) << r.err;
            EXPECT_EQ(r.err, "");
        }
    }
}

TEST_F(Kelvctl, VirtualMouseFileOutlivesTheRunAndIsNeverOverwrittenWhenDamaged) {
    const std::string file = tree.Root() + "/mouse.kvm";
    Run("info --virtual-mouse=" + file + " --virtual-layout=B");
    ASSERT_TRUE(std::filesystem::exists(file));
    Result r = Run("--virtual-mouse=" + file + " info");
    EXPECT_NE(r.out.find("layout          B\n"), std::string::npos) << r.out << r.err;
    r = Run("info --virtual-mouse=" + file + " --virtual-layout=C");
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(OneLine(r.err)) << r.err;

    std::filesystem::resize_file(file, 100);
    r = Run("info --virtual-mouse=" + file);
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(OneLine(r.err)) << r.err;
    EXPECT_NE(r.err.find("damaged"), std::string::npos) << r.err;
    EXPECT_EQ(std::filesystem::file_size(file), 100u);
}

TEST_F(Kelvctl, ErrorsAreOneLineAndFail) {
    for (const char* args :
         {"frobnicate", "--virtual-layout=Q info --virtual-mouse", "info --virtual-layout=B",
          "list extra --virtual-mouse", "--sysfs-root",
          "info --virtual-mouse=", "info --sysfs-root /nonexistent"}) {
        const Result r = Run(args);
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_TRUE(OneLine(r.err)) << args << ": " << r.err;
        EXPECT_EQ(r.err.rfind("kelvctl: ", 0), 0u) << r.err;
    }
    EXPECT_NE(Run("info --sysfs-root /nonexistent").err.find("No Device Found"), std::string::npos);
    const Result help = Run("--help");
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("list"), std::string::npos);
    EXPECT_NE(help.out.find("--virtual-mouse"), std::string::npos);
    EXPECT_EQ(Run("").status, 1);
}

}  // namespace
}  // namespace kelv::device
