// kelvctl's configuration commands end to end against a virtual mouse kept in a file.
#include <stdlib.h>
#include <sys/wait.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "config/sections.h"

namespace kelv::config {
namespace {

namespace fs = std::filesystem;

struct Result {
    int status;
    std::string out, err;
};

class Kelvctl : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "kelv-transfer-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir = pattern;
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string Path(const std::string& name) const { return (dir / name).string(); }
    // Runs kelvctl on the virtual mouse kept in "mouse.vm" (created on first use).
    Result Run(const std::string& args, const std::string& mouse = "--virtual-mouse") {
        const std::string out = Path("out"), err = Path("err");
        const std::string line = std::string(KELVCTL_PATH) + " " + mouse + "=" + Path("mouse.vm") +
                                 " " + args + " >" + out + " 2>" + err;
        const int raw = std::system(line.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, Slurp(out), Slurp(err)};
    }
    static std::string Slurp(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    static std::vector<std::uint8_t> Bytes(const std::string& path) {
        const std::string s = Slurp(path);
        return {s.begin(), s.end()};
    }
    static void Write(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    static bool OneLine(const std::string& text) {
        return !text.empty() && text.find('\n') == text.size() - 1;
    }

    fs::path dir;
};

TEST_F(Kelvctl, DumpJsonDecodesTheMouseForEachPackedLayout) {
    const struct {
        const char* layout;
        const char* firstMacro;   // "address" of slot 0
        const char* macroButton;  // the default image's macro button, made for layout A
    } cases[] = {{"A", "\"address\": 544,", "\"code\": \"10022000\", \"name\": \"光速QA\""},
                 {"B", "\"address\": 16416,", "\"code\": \"10022000\", \"name\": \"\""}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.layout);
        fs::remove(Path("mouse.vm"));
        const Result r = Run(std::string("--virtual-layout=") + c.layout + " dump --json");
        ASSERT_EQ(r.status, 0) << r.err;
        for (const std::string& want :
             {std::string("\"layout\": \"") + c.layout + "\"", std::string(c.firstMacro),
              std::string("\"source\": \"mouse\""), std::string("\"storage\": \"I2C\""),
              std::string("{\"level\": 1, \"code\": 3, \"value\": 800,"),
              std::string("{\"button\": 9, \"code\": \"01040000\", \"name\": \"Middle Key\"}"),
              std::string("\"name\": \"Fire Key2\", \"fire\": {\"key\": 2, \"repeat\": 4, "
                          "\"delay\": 20, \"continue\": false}"),
              std::string(c.macroButton),
              std::string("\"script\": [\"10\", \"1 E CODE:8208\", \"0 50\"")}) {
            EXPECT_NE(r.out.find(want), std::string::npos) << want;
        }
    }
}

TEST_F(Kelvctl, SaveShowLoadRoundTrip) {
    ASSERT_EQ(Run("save " + Path("p.bin")).status, 0);
    std::vector<std::uint8_t> file = Bytes(Path("p.bin"));
    ASSERT_EQ(file.size(), 768u);
    for (std::size_t i = 249; i < 256; ++i) EXPECT_EQ(file[i], 0xFF) << i;

    // show decodes the file exactly as dump decodes the mouse it came from.
    const Result dump = Run("dump --json");
    const Result show = Run("show --json " + Path("p.bin"));
    ASSERT_EQ(show.status, 0) << show.err;
    std::string expected = dump.out;
    expected.replace(expected.find("\"mouse\""), 7, "\"file\"");
    EXPECT_EQ(show.out, expected);

    // A changed report rate and button go to the mouse and come back byte for byte.
    ParameterSection parameter;
    std::copy_n(file.begin(), parameter.size(), parameter.begin());
    SetReportRateCode(parameter, 1);
    ParameterChecksum(parameter);
    std::copy(parameter.begin(), parameter.end(), file.begin());
    file[104] = 0x01;
    file[105] = 0x04;
    Write(Path("edited.bin"), file);
    ASSERT_EQ(Run("load " + Path("edited.bin")).status, 0);
    ASSERT_EQ(Run("save " + Path("back.bin")).status, 0);
    std::vector<std::uint8_t> back = Bytes(Path("back.bin"));
    // The profile checksum is rebuilt on saving; everything else is as loaded.
    EXPECT_EQ(back[248], SectionChecksum(std::span(back).subspan(104, 144)));
    back[248] = file[248];
    EXPECT_EQ(back, file);
}

TEST_F(Kelvctl, RefusedLoadLeavesTheMouseAlone) {
    ASSERT_EQ(Run("save " + Path("p.bin")).status, 0);
    const auto before = Bytes(Path("mouse.vm"));
    for (const std::uint8_t marker : {0xF0, 0x00}) {
        std::vector<std::uint8_t> file = Bytes(Path("p.bin"));
        file[0] = marker;
        file[40] ^= 0xFF;
        Write(Path("bad.bin"), file);
        const Result r = Run("load " + Path("bad.bin"));
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(OneLine(r.err)) << r.err;
        EXPECT_NE(r.err.find("Loading .bin is error!"), std::string::npos) << r.err;
        EXPECT_EQ(Bytes(Path("mouse.vm")), before);
    }
}

TEST_F(Kelvctl, MacroExportImportRoundTrip) {
    ASSERT_EQ(Run("macro export 1 " + Path("one.bin")).status, 0);
    ASSERT_EQ(Bytes(Path("one.bin")).size(), 288u);
    ASSERT_EQ(Run("macro import 3 " + Path("one.bin")).status, 0);
    ASSERT_EQ(Run("macro export 3 " + Path("three.bin")).status, 0);
    EXPECT_EQ(Bytes(Path("three.bin")), Bytes(Path("one.bin")));

    ASSERT_EQ(Run("macro export --all " + Path("all.bin")).status, 0);
    ASSERT_EQ(Bytes(Path("all.bin")).size(), 512u);
    ASSERT_EQ(Run("reset").status, 0);
    ASSERT_EQ(Run("macro import --all " + Path("all.bin")).status, 0);
    ASSERT_EQ(Run("macro export --all " + Path("again.bin")).status, 0);
    EXPECT_EQ(Bytes(Path("again.bin")), Bytes(Path("all.bin")));
    // Slot 3 now holds slot 1's events, and is named after it.
    const Result dump = Run("dump --json");
    EXPECT_NE(dump.out.find("{\"slot\": 3, \"name\": \"酒桶E闪\", \"address\": 764"),
              std::string::npos)
        << dump.out;
}

TEST_F(Kelvctl, ErrorsAreOneLineAndAFailureStatus) {
    Write(Path("short.bin"), std::vector<std::uint8_t>(100, 0));
    Write(Path("patch.bin"), std::vector<std::uint8_t>(0x8000 + 1024, 0x11));
    Write(Path("flash.bin"), std::vector<std::uint8_t>(9472, 0));
    std::vector<std::uint8_t> one(288, 0);
    one[1] = 'A';
    Write(Path("one.bin"), one);
    const struct {
        std::string args;
        std::string message;
        std::string mouse = "--virtual-mouse";
    } cases[] = {
        {"dump --bogus", "dump takes only --json"},
        {"show", "show takes one profile file"},
        {"show " + Path("missing.bin"), "missing.bin"},
        {"show " + Path("short.bin"), "too short"},
        {"load " + Path("missing.bin"), "missing.bin"},
        {"save " + Path("no/such/dir/p.bin"), "p.bin"},
        {"macro frob 1 x", "macro takes"},
        {"macro export one " + Path("x.bin"), "SLOT must be"},
        {"macro export 9 " + Path("x.bin"), "no macro in slot 9"},
        {"macro import 0 " + Path("short.bin"), "100 bytes"},
        {"macro import 7 " + Path("one.bin"), "no macro in slot 7"},
        {"macro import --all " + Path("short.bin"), "100 bytes"},
        {"macro import --all " + Path("flash.bin"), "larger than any macro file"},
        {"patch " + Path("short.bin"), "no patch code"},
        {"patch " + Path("patch.bin"), "does not take patch code"},
        {"reset extra", "reset takes no arguments"},
        {"--virtual-layout=C dump", "file type error"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        fs::remove(Path("mouse.vm"));
        const Result r = Run(c.args, c.mouse);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(OneLine(r.err)) << r.err;
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    }
}

}  // namespace
}  // namespace kelv::config
