#include "config/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <random>

namespace kelv::config {
namespace {

std::string ErrorText(const std::filesystem::path& path, int err) {
    return path.string() + ": " + std::strerror(err);
}

// Closes the descriptor on every path out.
class Fd {
  public:
    explicit Fd(int fd) : fd_(fd) {}
    ~Fd() {
        if (fd_ >= 0) ::close(fd_);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    // Returns close()'s errno, 0 on success.
    int Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0 ? 0 : errno;
    }

  private:
    int fd_;
};

std::string TempSuffix() {
    static std::atomic<unsigned> counter{0};
    static thread_local std::mt19937 rng{std::random_device{}()};
    return ".tmp." + std::to_string(::getpid()) + "." + std::to_string(counter++) + "." +
           std::to_string(rng() % 1000000);
}

// The file a save should replace: a symbolic link's final target, else the path itself.
std::filesystem::path Destination(const std::filesystem::path& path) {
    std::error_code ec;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, ec))) {
        const auto target = std::filesystem::weakly_canonical(path, ec);
        if (!ec) return target;
    }
    return path;
}

}  // namespace

std::filesystem::path WithBinExtension(const std::filesystem::path& chosen) {
    std::filesystem::path result = chosen;
    result += ".bin";
    return result;
}

ReadFileResult ReadFile(const std::filesystem::path& path, std::size_t maxBytes) {
    ReadFileResult result;
    // Non-blocking so that opening a pipe cannot hang; regular files ignore the flag.
    Fd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.get() < 0) {
        result.error = ErrorText(path, errno);
        return result;
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        result.error = ErrorText(path, errno);
        return result;
    }
    if (S_ISDIR(st.st_mode)) {
        result.error = ErrorText(path, EISDIR);
        return result;
    }
    if (!S_ISREG(st.st_mode)) {
        result.error = path.string() + ": not a regular file";
        return result;
    }
    std::uint8_t chunk[65536];
    while (result.bytes.size() < maxBytes) {
        const std::size_t want = std::min(sizeof chunk, maxBytes - result.bytes.size());
        const ssize_t n = ::read(fd.get(), chunk, want);
        if (n < 0) {
            if (errno == EINTR) continue;
            result.error = ErrorText(path, errno);
            result.bytes.clear();
            return result;
        }
        if (n == 0) break;
        result.bytes.insert(result.bytes.end(), chunk, chunk + n);
    }
    result.ok = true;
    return result;
}

WriteFileResult WriteFileAtomic(const std::filesystem::path& path,
                                std::span<const std::uint8_t> bytes) {
    const std::filesystem::path target = Destination(path);
    std::filesystem::path temp;
    int fdValue = -1;
    for (int attempt = 0; attempt < 100 && fdValue < 0; ++attempt) {
        temp = target;
        temp += TempSuffix();
        // 0666 so that the umask decides, as for any newly created file.
        fdValue = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fdValue < 0 && errno != EEXIST) return {false, ErrorText(path, errno)};
    }
    if (fdValue < 0) return {false, ErrorText(path, EEXIST)};
    Fd fd(fdValue);

    auto fail = [&](int err) {
        fd.Close();
        ::unlink(temp.c_str());
        return WriteFileResult{false, ErrorText(path, err)};
    };

    // Replacing a file keeps its permission bits.
    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        ::fchmod(fd.get(), old.st_mode & 07777);

    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd.get(), bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd.get()) != 0) return fail(errno);
    if (const int err = fd.Close(); err != 0) {
        ::unlink(temp.c_str());
        return {false, ErrorText(path, err)};
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return {false, ErrorText(path, err)};
    }
    // The rename itself reaches the disk with the directory.
    const auto dir = target.has_parent_path() ? target.parent_path() : std::filesystem::path(".");
    Fd dirFd(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dirFd.get() >= 0) ::fsync(dirFd.get());
    return {true, {}};
}

}  // namespace kelv::config
