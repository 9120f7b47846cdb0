#include "tools/live/keeping/journal_file.h"

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kevo::live {

std::string SystemReason(int error_number) { return std::strerror(error_number); }

#ifdef _WIN32

JournalFile::~JournalFile() {
  if (descriptor_ >= 0) _close(descriptor_);
}

bool JournalFile::Open(const std::filesystem::path& path, std::string& error) {
  descriptor_ = _wopen(path.wstring().c_str(), _O_RDWR | _O_CREAT | _O_APPEND | _O_BINARY,
                       _S_IREAD | _S_IWRITE);
  if (descriptor_ < 0) error = SystemReason(errno);
  return descriptor_ >= 0;
}

bool JournalFile::Lock(bool& held, std::string& error) {
  // Windows locks are binding on every handle, this process's own reads included, so the byte
  // locked lies far beyond any journal's end.
  HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(descriptor_));
  OVERLAPPED where{};
  where.Offset = 0;
  where.OffsetHigh = 0x7FFFFFFF;
  held = false;
  if (LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where)) {
    return true;
  }
  DWORD code = GetLastError();
  held = code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING;
  error = held ? "locked by another process"
               : "cannot lock (Windows error " + std::to_string(code) + ")";
  return false;
}

long long JournalFile::Read(std::uint64_t offset, char* buffer, std::size_t size,
                            std::string& error) {
  if (_lseeki64(descriptor_, static_cast<long long>(offset), SEEK_SET) < 0) {
    error = SystemReason(errno);
    return -1;
  }
  int got = _read(descriptor_, buffer, static_cast<unsigned>(size > (1u << 30) ? 1u << 30 : size));
  if (got < 0) error = SystemReason(errno);
  return got;
}

bool JournalFile::Size(std::uint64_t& size, std::string& error) {
  struct _stat64 facts;
  if (_fstat64(descriptor_, &facts) != 0) {
    error = SystemReason(errno);
    return false;
  }
  size = static_cast<std::uint64_t>(facts.st_size);
  return true;
}

std::size_t JournalFile::Write(const char* data, std::size_t size, std::string& error) {
  std::size_t done = 0;
  while (done < size) {
    std::size_t part = size - done > (1u << 30) ? 1u << 30 : size - done;
    int wrote = _write(descriptor_, data + done, static_cast<unsigned>(part));
    if (wrote <= 0) {
      error = SystemReason(wrote < 0 ? errno : ENOSPC);
      break;
    }
    done += static_cast<std::size_t>(wrote);
  }
  return done;
}

bool JournalFile::Truncate(std::uint64_t size, std::string& error) {
  int code = _chsize_s(descriptor_, static_cast<long long>(size));
  if (code != 0) error = SystemReason(code);
  return code == 0;
}

bool JournalFile::Sync(std::string& error) {
  if (_commit(descriptor_) == 0) return true;
  error = SystemReason(errno);
  return false;
}

#else

JournalFile::~JournalFile() {
  if (descriptor_ >= 0) close(descriptor_);
}

bool JournalFile::Open(const std::filesystem::path& path, std::string& error) {
  descriptor_ = open(path.c_str(), O_RDWR | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (descriptor_ < 0) error = SystemReason(errno);
  return descriptor_ >= 0;
}

bool JournalFile::Lock(bool& held, std::string& error) {
  // flock rather than fcntl: an fcntl lock goes when any descriptor of the file in this
  // process is closed.
  held = false;
  if (flock(descriptor_, LOCK_EX | LOCK_NB) == 0) return true;
  held = errno == EWOULDBLOCK;
  error = held ? "locked by another process" : SystemReason(errno);
  return false;
}

long long JournalFile::Read(std::uint64_t offset, char* buffer, std::size_t size,
                            std::string& error) {
  ssize_t got;
  do {
    got = pread(descriptor_, buffer, size, static_cast<off_t>(offset));
  } while (got < 0 && errno == EINTR);
  if (got < 0) error = SystemReason(errno);
  return got;
}

bool JournalFile::Size(std::uint64_t& size, std::string& error) {
  struct stat facts;
  if (fstat(descriptor_, &facts) != 0) {
    error = SystemReason(errno);
    return false;
  }
  size = static_cast<std::uint64_t>(facts.st_size);
  return true;
}

std::size_t JournalFile::Write(const char* data, std::size_t size, std::string& error) {
  std::size_t done = 0;
  while (done < size) {
    ssize_t wrote = write(descriptor_, data + done, size - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) {
      error = SystemReason(wrote < 0 ? errno : ENOSPC);
      break;
    }
    done += static_cast<std::size_t>(wrote);
  }
  return done;
}

bool JournalFile::Truncate(std::uint64_t size, std::string& error) {
  if (ftruncate(descriptor_, static_cast<off_t>(size)) == 0) return true;
  error = SystemReason(errno);
  return false;
}

bool JournalFile::Sync(std::string& error) {
  if (fdatasync(descriptor_) == 0) return true;
  error = SystemReason(errno);
  return false;
}

#endif

}  // namespace kevo::live
