#include "tools/host/files.h"

#include <fstream>
#include <iterator>
#include <random>
#include <system_error>

namespace kevo::host {

namespace fs = std::filesystem;

bool IsNonRegularFile(const fs::path& path) {
  std::error_code code;
  fs::file_status status = fs::status(path, code);
  return fs::exists(status) && !fs::is_regular_file(status);
}

bool ReadWholeFile(const std::string& name, std::string& content, std::string& error) {
  if (IsNonRegularFile(name)) {
    error = "cannot read " + name + ": not a regular file";
    return false;
  }
  std::ifstream in(name, std::ios::binary);
  if (!in) {
    error = "cannot read " + name + ": no such file or no permission";
    return false;
  }
  content.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  if (in.bad()) {
    error = "cannot read " + name + ": read error";
    return false;
  }
  return true;
}

bool WriteWholeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
  file.close();
  return static_cast<bool>(file);
}

bool WorkingDirectory::Open(const std::string& requested, std::string& error) {
  std::error_code code;
  if (!requested.empty()) {
    path_ = fs::absolute(requested, code);
    if (!code) fs::create_directories(path_, code);
    if (code || !fs::is_directory(path_)) {
      error = "cannot use " + requested + " as working directory" +
              (code ? ": " + code.message() : std::string());
      return false;
    }
    return true;
  }
  fs::path base = fs::temp_directory_path(code);
  if (code) {
    error = "no temporary directory: " + code.message();
    return false;
  }
  std::random_device seed;
  std::mt19937_64 random(seed());
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path candidate = base / ("kevo-replay-" + std::to_string(random() % 1000000000u));
    if (fs::create_directory(candidate, code)) {
      path_ = candidate;
      temporary_ = true;
      return true;
    }
  }
  error = "cannot create a temporary directory in " + base.string();
  return false;
}

WorkingDirectory::~WorkingDirectory() {
  Leave();
  if (temporary_) {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
  }
}

bool WorkingDirectory::Enter(std::string& error) {
  std::error_code code;
  previous_ = fs::current_path(code);
  if (!code) fs::current_path(path_, code);
  if (code) {
    error = "cannot enter " + path_.string() + ": " + code.message();
    return false;
  }
  entered_ = true;
  return true;
}

void WorkingDirectory::Leave() {
  if (!entered_) return;
  std::error_code ignored;
  fs::current_path(previous_, ignored);
  entered_ = false;
}

}  // namespace kevo::host
