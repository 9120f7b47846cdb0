// The POSIX side of the platform layer. Message boxes become one line on standard error;
// POSIX has no share modes: other processes can still open the files the plug-in holds.
#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

#include "platform/platform.h"

namespace kevo {

namespace {

class PosixInputFile : public InputFile {
 public:
  explicit PosixInputFile(int fd) : fd_(fd) {}
  ~PosixInputFile() override { ::close(fd_); }
  long Read(char* buffer, std::size_t size) override {
    for (;;) {
      ssize_t count = ::read(fd_, buffer, size);
      if (count < 0 && errno == EINTR) continue;
      return static_cast<long>(count);
    }
  }

 private:
  int fd_;
};

class PosixOutputFile : public OutputFile {
 public:
  explicit PosixOutputFile(int fd) : fd_(fd) {}
  ~PosixOutputFile() override {
    if (fd_ >= 0) ::close(fd_);
  }
  bool Write(const char* data, std::size_t size) override {
    while (size > 0) {
      ssize_t count = ::write(fd_, data, size);
      if (count < 0 && errno == EINTR) continue;
      if (count <= 0) return false;
      data += count;
      size -= static_cast<std::size_t>(count);
    }
    return true;
  }
  bool Close() override {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

class PosixPlatform : public Platform {
 public:
  void ShowMessage(MessageOwner, const char* text, const char* caption) override {
    // A library must never write to standard output: that belongs to the host.
    std::fprintf(stderr, "[%s] %s\n", caption ? caption : "Message", text ? text : "");
    std::fflush(stderr);
  }

  std::unique_ptr<InputFile> OpenExclusiveForReading(const std::string& path) override {
    // O_NONBLOCK keeps a FIFO without a writer from hanging the host; anything that is not
    // a regular file is refused, as Windows refuses it.
    int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return nullptr;
    struct stat info;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
      ::close(fd);
      return nullptr;
    }
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return std::make_unique<PosixInputFile>(fd);
  }

  std::unique_ptr<OutputFile> CreateSharedRead(const std::string& path) override {
    // O_NONBLOCK: a FIFO without a reader fails at once instead of hanging the host.
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY | O_NONBLOCK,
                    0644);
    if (fd < 0) return nullptr;
    struct stat info;
    if (::fstat(fd, &info) != 0 || (!S_ISREG(info.st_mode) && !S_ISCHR(info.st_mode))) {
      ::close(fd);
      return nullptr;
    }
    int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
    return std::make_unique<PosixOutputFile>(fd);
  }

  std::string JoinPath(const std::string& folder, const std::string& file) const override {
    return folder + "/" + file;
  }
};

}  // namespace

Platform& SystemPlatform() {
  static PosixPlatform platform;
  return platform;
}

}  // namespace kevo
