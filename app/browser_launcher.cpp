#include "app/browser_launcher.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace lumoa::app {
namespace {

// xdg-open needs a target; a blank page stands for "no page".
constexpr char kBlankPage[] = "about:blank";

std::vector<AnsiString> SplitOn(const AnsiString& text, const char* separators) {
  std::vector<AnsiString> parts;
  size_t pos = 0;
  while (pos < text.size()) {
    const size_t start = text.find_first_not_of(separators, pos);
    if (start == AnsiString::npos) break;
    const size_t end = text.find_first_of(separators, start);
    parts.push_back(text.substr(start, end == AnsiString::npos ? AnsiString::npos : end - start));
    pos = end == AnsiString::npos ? text.size() : end;
  }
  return parts;
}

// Replaces every "%s" in arg by url; false when there was none.
bool SubstituteUrl(AnsiString& arg, const AnsiString& url) {
  bool found = false;
  for (size_t pos = arg.find("%s"); pos != AnsiString::npos; pos = arg.find("%s", pos)) {
    arg.replace(pos, 2, url);
    pos += url.size();
    found = true;
  }
  return found;
}

// Empty for a blank command, which must not turn the URL into the program to run.
std::vector<AnsiString> CommandLine(const AnsiString& command, const AnsiString& url) {
  std::vector<AnsiString> words = SplitOn(command, " \t");
  if (words.empty()) return {};
  std::vector<AnsiString> argv;
  bool substituted = false;
  for (AnsiString& word : words) {
    const bool onlyUrl = word == "%s";
    substituted |= SubstituteUrl(word, url);
    // A lone "%s" with no URL would hand the browser an empty address to load.
    if (onlyUrl && url.empty()) continue;
    argv.push_back(std::move(word));
  }
  if (!substituted && !url.empty()) argv.push_back(url);
  return argv;
}

// Writes an errno value to the pipe; used only between fork and exec or _exit.
void ReportErrno(int fd, int error) {
  const ssize_t written = write(fd, &error, sizeof error);
  (void)written;
}

// Starts argv detached (double fork: the middle child exits at once and is reaped here, the
// browser is adopted by init). Returns 0 when exec succeeded, else the errno of the failure.
// A close-on-exec pipe tells the two apart: it closes silently on a successful exec.
int SpawnDetached(const std::vector<AnsiString>& args) {
  std::vector<char*> argv;
  argv.reserve(args.size() + 1);
  for (const AnsiString& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);

  int fds[2];
  if (pipe2(fds, O_CLOEXEC) != 0) return errno;

  const pid_t middle = fork();
  if (middle < 0) {
    const int error = errno;
    close(fds[0]);
    close(fds[1]);
    return error;
  }
  if (middle == 0) {
    close(fds[0]);
    setsid();  // the browser outlives us and our terminal
    const pid_t browser = fork();
    if (browser < 0) {
      ReportErrno(fds[1], errno);
      _exit(127);
    }
    if (browser == 0) {
      execvp(argv[0], argv.data());
      ReportErrno(fds[1], errno);
      _exit(127);
    }
    _exit(0);
  }

  close(fds[1]);
  int error = 0;
  ssize_t got;
  do {
    got = read(fds[0], &error, sizeof error);
  } while (got < 0 && errno == EINTR);
  close(fds[0]);
  if (got != static_cast<ssize_t>(sizeof error)) error = 0;
  while (waitpid(middle, nullptr, 0) < 0 && errno == EINTR) {
  }
  return error;
}

}  // namespace

std::vector<std::vector<AnsiString>> BrowserCommandLines(const AnsiString& browserVariable,
                                                         const AnsiString& url) {
  std::vector<std::vector<AnsiString>> lines;
  for (const AnsiString& command : SplitOn(browserVariable, ":")) {
    std::vector<AnsiString> argv = CommandLine(command, url);
    if (!argv.empty()) lines.push_back(std::move(argv));
  }
  if (lines.empty()) lines.push_back({"xdg-open", url.empty() ? AnsiString(kBlankPage) : url});
  return lines;
}

void OpenInBrowser(const AnsiString& url) {
  const char* browser = std::getenv("BROWSER");
  AnsiString failures;
  int lastError = 0;
  for (const std::vector<AnsiString>& argv : BrowserCommandLines(browser ? browser : "", url)) {
    const int error = SpawnDetached(argv);
    if (error == 0) return;
    if (!failures.empty()) failures += "; ";
    failures += argv[0] + ": " + std::strerror(error);
    lastError = error;
  }
  throw EBrowserError("Cannot start the web browser (" + failures + ")",
                      static_cast<uint32_t>(lastError));
}

}  // namespace lumoa::app
