#include "game3d/textfile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

namespace {

// errno of a failed call; a failure that set none still counts as one.
int ErrorNumber() {
  return errno != 0 ? errno : EIO;
}

}  // namespace

int ReadTextFile(const std::string& path, size_t maxBytes, std::string* text) {
  errno = 0;
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return ErrorNumber();
  text->clear();
  char buffer[8192];
  int failure = 0;
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) {
    text->append(buffer, got);
    if (text->size() > maxBytes) break;
  }
  if (std::ferror(file)) failure = ErrorNumber();  // a folder opens, but reading it fails
  std::fclose(file);
  if (failure == 0 && text->size() > maxBytes) failure = EFBIG;
  return failure;
}

int WriteTextFile(const std::string& path, const std::string& text) {
  errno = 0;
  FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return ErrorNumber();
  int failure = 0;
  if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) failure = ErrorNumber();
  if (std::fclose(file) != 0 && failure == 0) failure = ErrorNumber();
  return failure;
}

int ReplaceTextFile(const std::string& path, const std::string& text) {
  for (size_t slash = path.find('/', 1); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    const std::string folder = path.substr(0, slash);
    const int made = mkdir(folder.c_str(), 0700) == 0 ? 0 : ErrorNumber();
    struct stat status;
    const bool isFolder = stat(folder.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
    if (made != 0 && !isFolder) return made == EEXIST ? ENOTDIR : made;
  }
  const std::string fresh = path + ".new";
  if (const int failure = WriteTextFile(fresh, text)) {
    std::remove(fresh.c_str());
    return failure;
  }
  if (std::rename(fresh.c_str(), path.c_str()) != 0) {
    const int failure = ErrorNumber();
    std::remove(fresh.c_str());
    return failure;
  }
  return 0;
}
