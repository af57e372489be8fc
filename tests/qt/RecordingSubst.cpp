// Stands in for subst beside the test program: appends its arguments as one
// line, separated by '|', to the file named by TESSARO_SUBST_LOG. With
// TESSARO_SUBST_FAIL set it then refuses: that text on stderr, exit code 1.
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

int main(int argc, char** argv) {
  const char* log = std::getenv("TESSARO_SUBST_LOG");
  if (log == nullptr) return 2;
  std::string line;
  for (int i = 1; i < argc; ++i) {
    if (i > 1) line += '|';
    line += argv[i];
  }
  line += '\n';
  const int fd = ::open(log, O_WRONLY | O_CREAT | O_APPEND, 0600);
  if (fd < 0) return 2;
  // One write, so that lines of two quick launches never interleave.
  const bool written = ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
  ::close(fd);
  const char* refusal = std::getenv("TESSARO_SUBST_FAIL");
  if (refusal != nullptr) {
    const std::string said = std::string(refusal) + '\n';
    return ::write(STDERR_FILENO, said.data(), said.size()) < 0 ? 2 : 1;
  }
  return written ? 0 : 2;
}
