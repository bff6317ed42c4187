#include "config/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>

namespace kelv::config {
namespace {

namespace fs = std::filesystem;

class FileIoTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir = fs::temp_directory_path() /
              ("kelv_file_io_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir);
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::size_t EntryCount() const {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir), {}));
    }

    fs::path dir;
};

std::vector<std::uint8_t> Bytes(std::size_t n, std::uint8_t seed) {
    std::vector<std::uint8_t> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = static_cast<std::uint8_t>(seed + i * 13);
    return v;
}

TEST_F(FileIoTest, WriteThenReadGivesTheSameBytes) {
    const fs::path path = dir / "a.bin";
    for (const std::size_t size : {0u, 1u, 768u, 9472u, 200000u}) {
        const auto bytes = Bytes(size, static_cast<std::uint8_t>(size));
        ASSERT_TRUE(WriteFileAtomic(path, bytes).ok);
        const ReadFileResult r = ReadFile(path);
        ASSERT_TRUE(r.ok) << r.error;
        EXPECT_EQ(r.bytes, bytes);
    }
    EXPECT_EQ(EntryCount(), 1u);  // no temporary files left behind
}

TEST_F(FileIoTest, ErrorsCarryThePathAndTheSystemText) {
    const ReadFileResult missing = ReadFile(dir / "missing.bin");
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.error, (dir / "missing.bin").string() + ": " + std::strerror(ENOENT));

    const ReadFileResult directory = ReadFile(dir);
    EXPECT_FALSE(directory.ok);
    EXPECT_NE(directory.error.find(std::strerror(EISDIR)), std::string::npos);

    const WriteFileResult noDir = WriteFileAtomic(dir / "none" / "a.bin", Bytes(4, 1));
    EXPECT_FALSE(noDir.ok);
    EXPECT_EQ(noDir.error, (dir / "none" / "a.bin").string() + ": " + std::strerror(ENOENT));
}

TEST_F(FileIoTest, ReadsRegularFilesOnlyAndAtMostTheLimit) {
    const fs::path path = dir / "big.bin";
    ASSERT_TRUE(WriteFileAtomic(path, Bytes(100000, 3)).ok);
    for (const std::size_t limit : {0u, 1u, 9472u, 65536u, 65537u, 100000u, 200000u}) {
        const ReadFileResult r = ReadFile(path, limit);
        ASSERT_TRUE(r.ok);
        const auto all = Bytes(100000, 3);
        EXPECT_EQ(r.bytes,
                  std::vector<std::uint8_t>(
                      all.begin(), all.begin() + std::min<std::size_t>(limit, all.size())));
    }
    const fs::path fifo = dir / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const ReadFileResult pipe = ReadFile(fifo);  // must not wait for a writer
    EXPECT_FALSE(pipe.ok);
    EXPECT_EQ(pipe.error, fifo.string() + ": not a regular file");
    EXPECT_FALSE(ReadFile("/dev/zero").ok);
}

TEST_F(FileIoTest, AFailedReplaceLeavesTheOldEntryAndNoTemporaryFile) {
    fs::create_directory(dir / "taken");
    const WriteFileResult r = WriteFileAtomic(dir / "taken", Bytes(10, 1));
    EXPECT_FALSE(r.ok);
    EXPECT_NE(r.error.find(std::strerror(EISDIR)), std::string::npos) << r.error;
    EXPECT_TRUE(fs::is_directory(dir / "taken"));
    EXPECT_EQ(EntryCount(), 1u);
}

// A write cut short by the file-size limit (as by a full disk) must not touch the old file.
TEST_F(FileIoTest, AWriteThatFailsHalfwayKeepsTheOldFile) {
    const fs::path path = dir / "profile.bin";
    const auto old = Bytes(100, 7);
    ASSERT_TRUE(WriteFileAtomic(path, old).ok);

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1000, 1000};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const WriteFileResult r = WriteFileAtomic(path, Bytes(5000, 9));
        const bool expected = !r.ok && r.error.find(std::strerror(EFBIG)) != std::string::npos;
        ::_exit(expected ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(ReadFile(path).bytes, old);
    EXPECT_EQ(EntryCount(), 1u);
}

TEST_F(FileIoTest, ReplacingKeepsPermissionsAndFollowsLinks) {
    const fs::path target = dir / "real.bin";
    ASSERT_TRUE(WriteFileAtomic(target, Bytes(3, 1)).ok);
    ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
    fs::create_symlink(target, dir / "link.bin");

    ASSERT_TRUE(WriteFileAtomic(dir / "link.bin", Bytes(5, 2)).ok);
    EXPECT_TRUE(fs::is_symlink(dir / "link.bin"));
    EXPECT_EQ(ReadFile(target).bytes, Bytes(5, 2));
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(BinExtension, AlwaysAppended) {
    const std::pair<const char*, const char*> cases[] = {
        {"profile", "profile.bin"},         {"profile.bin", "profile.bin.bin"},
        {"PROFILE.BIN", "PROFILE.BIN.bin"}, {"a.binx", "a.binx.bin"},
        {"dir/p.txt", "dir/p.txt.bin"},     {"/home/u/.bin", "/home/u/.bin.bin"},
    };
    for (const auto& [chosen, expected] : cases) EXPECT_EQ(WithBinExtension(chosen), expected);
}

}  // namespace
}  // namespace kelv::config
