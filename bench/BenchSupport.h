#pragma once
// What the window benchmarks share: wall time, the check of a raw sqlite3
// call, and the folders of a main window started in a temporary directory.
#include <sqlite3.h>

#include <QDir>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "shell/FormOrvenil.h"

namespace orv::bench {

inline double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// Ends the benchmark with SQLite's message when a raw call did not give what it should.
inline void Check(int rc, sqlite3* db, int expected = SQLITE_OK) {
  if (rc != expected) {
    std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
    std::exit(1);
  }
}

// The process's peak resident memory so far, in MB (Linux: VmHWM).
inline long PeakMegabytes() {
  std::FILE* f = std::fopen("/proc/self/status", "r");
  if (!f) return -1;
  char line[256];
  long kb = -1;
  while (std::fgets(line, sizeof line, f))
    if (std::sscanf(line, "VmHWM: %ld kB", &kb) == 1) break;
  std::fclose(f);
  return kb < 0 ? -1 : kb / 1024;
}

// Program, database and temporary folder of a window under root.
inline FormOrvenilFolders WindowFolders(const QTemporaryDir& root) {
  QDir(root.path()).mkpath(QStringLiteral("Programm/Orvenil-Datenbanken"));
  QDir(root.path()).mkpath(QStringLiteral("Temp"));
  return FormOrvenilFolders{root.path() + QStringLiteral("/Programm/"),
                            root.path() + QStringLiteral("/Programm/Orvenil-Datenbanken/"),
                            root.path() + QStringLiteral("/Temp/")};
}

}  // namespace orv::bench
