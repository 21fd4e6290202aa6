#include "RealDisplay.h"

#include <QByteArray>
#include <QList>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orvtest {

namespace {

pid_t server = -1;
QString missing = QStringLiteral("Dieser Test braucht eine X-Anzeige (ORV_TEST_DISPLAY=xvfb).");

// The screen a surveyor's window opens on, unless ORV_TEST_DISPLAY names
// another one: "xvfb:1366x768:125" is a laptop screen with the desktop's
// scale at 125 %.
std::string screen = "1920x1080x24";
constexpr int kStartTimeoutMs = 15000;

bool ListsTestsOnly(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::strncmp(argv[i], "--gtest_list_tests", 18) == 0) return true;
  return false;
}

// Starts Xvfb on the first free display; its number is read from the pipe
// it writes when it accepts clients. -1 when it could not be started.
int StartXvfb(QString& why) {
  int fds[2];
  if (pipe(fds) != 0) {
    why = QStringLiteral("Xvfb: keine Pipe");
    return -1;
  }
  const pid_t pid = fork();
  if (pid < 0) {
    why = QStringLiteral("Xvfb: fork gescheitert");
    return -1;
  }
  if (pid == 0) {
    close(fds[0]);
    // The server ends with the test program, also when it crashes.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    const int devnull = open("/dev/null", O_RDWR);
    if (devnull >= 0) {
      dup2(devnull, STDOUT_FILENO);
      dup2(devnull, STDERR_FILENO);
    }
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  server = pid;
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  while (poll(&p, 1, kStartTimeoutMs) > 0) {
    char c = 0;
    const ssize_t n = read(fds[0], &c, 1);
    if (n <= 0 || c == '\n') break;
    number += c;
  }
  close(fds[0]);
  if (number.empty()) {
    StopRealDisplay();
    why = QStringLiteral("Xvfb ist nicht installiert oder startet nicht (scripts/setup-deps.sh installiert es).");
    return -1;
  }
  return std::atoi(number.c_str());
}

}  // namespace

void StartRealDisplayIfAsked(int argc, char** argv) {
  const QList<QByteArray> asked = qgetenv("ORV_TEST_DISPLAY").split(':');
  if (asked.value(0) != "xvfb" || ListsTestsOnly(argc, argv)) return;
  if (asked.size() > 1) screen = asked.at(1).toStdString() + "x24";
  // The desktop's scale: fonts and sizes as Qt reads them from Xft.dpi.
  if (asked.size() > 2) qputenv("QT_FONT_DPI", QByteArray::number(asked.at(2).toInt() * 96 / 100));
  QString why;
  const int display = StartXvfb(why);
  if (display < 0) {
    missing = why;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return;
  }
  qputenv("DISPLAY", QByteArray(":") + QByteArray::number(display));
  qputenv("QT_QPA_PLATFORM", "xcb");
  missing.clear();
}

void StopRealDisplay() {
  if (server <= 0) return;
  kill(server, SIGTERM);
  int status = 0;
  while (waitpid(server, &status, 0) < 0 && errno == EINTR) {
  }
  server = -1;
}

QString RealDisplayMissing() { return missing; }

}  // namespace orvtest
