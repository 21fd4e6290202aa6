// Existence checks, file status, copying, the line-end conversion and
// programs started and waited for.
#include "TempFolderFixture.h"
#include "foundation/DialogService.h"
#include "foundation/FileSystemHelpers.h"
#include "foundation/LineEndConversion.h"
#include "foundation/OrvenilError.h"
#include "foundation/ProcessHelpers.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace orv {
namespace {

using Files = TempFolderTest;

TEST_F(Files, ExistenceOfFilesAndFolders) {
  const QString file = put("a.txt", "x");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(dir_.path()));
  EXPECT_FALSE(FileExists(path("missing")));
  EXPECT_FALSE(FileExists(""));
  EXPECT_TRUE(DirectoryExists(dir_.path()));
  EXPECT_TRUE(DirectoryExists(dir_.path() + "/"));
  EXPECT_TRUE(DirectoryExists(file));
  EXPECT_FALSE(DirectoryExists(path("missing")));
  EXPECT_FALSE(DirectoryExists(""));
  EXPECT_EQ(MapSharedFolderPath("/Daten/Projekt A/Punkte.TXT"), "/Daten/Projekt A/Punkte.TXT");
}

TEST_F(Files, StatusTexts) {
  const QString file = put("plain.txt", "x");
  EXPECT_EQ(GetFileStatus(file), "OK:ncArsh");
  EXPECT_EQ(GetFileStatus(put(".hidden", "x")), "OK:ncArsH");
  EXPECT_EQ(GetFileStatus(path("missing.txt")), "ER:Nicht vorhanden");
  EXPECT_EQ(GetFileStatus(path("nofolder/missing.txt")), "ER:Pfad nicht gefunden");
  EXPECT_EQ(GetFileStatus(dir_.path()), "ER:Zugriff verweigert");
  EXPECT_EQ(GetFileStatus(""), "ER:Pfad-/Dateinamensyntax nicht korrekt");
  QFile::setPermissions(file, QFileDevice::ReadOwner | QFileDevice::ReadGroup);
  EXPECT_EQ(GetFileStatus(file), "OK:ncARsh");
  if (::geteuid() != 0) {  // root may read anything
    QFile::setPermissions(file, QFileDevice::WriteOwner);
    EXPECT_EQ(GetFileStatus(file), "ER:Zugriff verweigert");
  }
}

TEST_F(Files, StatusOfAFileLockedByAnotherProcess) {
  const QString file = put("locked.mdb", "data");
  int ready[2];
  int release[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(release), 0);
  const QByteArray native = QFile::encodeName(file);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The child holds a write lock, as a database engine does while writing.
    const int fd = ::open(native.constData(), O_RDWR);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    const bool locked = fd >= 0 && ::fcntl(fd, F_SETLK, &lock) == 0;
    const char c = locked ? '1' : '0';
    (void)!::write(ready[1], &c, 1);
    char dummy;
    (void)!::read(release[0], &dummy, 1);
    ::_exit(0);
  }
  char c = 0;
  ASSERT_EQ(::read(ready[0], &c, 1), 1);
  EXPECT_EQ(c, '1');
  EXPECT_EQ(GetFileStatus(file), "ER:In Bearbeitung");
  (void)!::write(release[1], "x", 1);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_EQ(GetFileStatus(file), "OK:ncArsh");
  for (int fd : {ready[0], ready[1], release[0], release[1]}) ::close(fd);
}

TEST_F(Files, CopyReplacesOnlyWhenAllowed) {
  const QString src = put("src.txt", "neu");
  const QString dst = put("dst.txt", "alt");
  EXPECT_FALSE(CopyFileTo(src, dst, false));
  EXPECT_EQ(bytesOf(dst), "alt");
  EXPECT_TRUE(CopyFileTo(src, dst, true));
  EXPECT_EQ(bytesOf(dst), "neu");
  EXPECT_TRUE(CopyFileTo(src, path("fresh.txt"), false));
  EXPECT_EQ(bytesOf(path("fresh.txt")), "neu");
  EXPECT_FALSE(CopyFileTo(src, src, true));  // onto itself: refused, file intact
  EXPECT_EQ(bytesOf(src), "neu");
  EXPECT_FALSE(CopyFileTo(path("missing"), path("x"), true));
  EXPECT_FALSE(CopyFileTo(src, path("no/folder/x"), true));
  EXPECT_EQ(QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);  // no leftovers
}

using LineEnds = TempFolderTest;

TEST_F(LineEnds, ConvertsLfToCrLfInPlace) {
  const QString p = put("unix.txt", "1 2 3\n4 5 6\nletzte");
  EXPECT_TRUE(ConvertLfToCrLf(p, true));
  EXPECT_EQ(bytesOf(p), "1 2 3\r\n4 5 6\r\nletzte");
  EXPECT_FALSE(QFile::exists(p + "#"));
  // Now that it holds CR LF it is left alone.
  EXPECT_FALSE(ConvertLfToCrLf(p, true));
  EXPECT_EQ(bytesOf(p), "1 2 3\r\n4 5 6\r\nletzte");
  EXPECT_FALSE(QFile::exists(p + "#"));
  // Runs of CR are halved.
  const QString cr = put("cr.txt", "a\r\rb\r\r\rc\n");
  EXPECT_TRUE(ConvertLfToCrLf(cr, true));
  EXPECT_EQ(bytesOf(cr), "a\rb\r\rc\r\n");
  EXPECT_FALSE(ConvertLfToCrLf(path("missing.txt"), true));
}

TEST_F(LineEnds, ChunkBoundaries) {
  // A file just over one chunk with CR LF split across the boundary already
  // uses CR LF: refused, nothing changed, nothing left behind.
  QByteArray split(999999, 'a');
  split += "\r\nb\n";
  const QString p = put("split.txt", split);
  EXPECT_FALSE(ConvertLfToCrLf(p, true));
  EXPECT_EQ(bytesOf(p), split);
  EXPECT_FALSE(QFile::exists(p + "#"));

  // LF exactly at the boundary, on both sides of it and a CR before it.
  QByteArray lf(999999, 'a');
  lf += "\n\nb\rc\n";
  const QString q = put("lf.txt", lf);
  EXPECT_TRUE(ConvertLfToCrLf(q, true));
  QByteArray expected(999999, 'a');
  expected += "\r\n\r\nb\rc\r\n";
  EXPECT_EQ(bytesOf(q), expected);
}

TEST_F(LineEnds, KeepsTheUnconvertedFileUnderTheBackupName) {
  const QString p = put("Daten.XML", "<a>\n</a>\n");
  const QString backup = put("Daten_UNIX.xml", "old backup");
  EXPECT_TRUE(ConvertLfToCrLf(p, false));
  EXPECT_EQ(bytesOf(p), "<a>\r\n</a>\r\n");
  EXPECT_EQ(bytesOf(backup), "<a>\n</a>\n");

  // Without ".xml" there is no backup name: refused before anything is touched.
  const QString txt = put("punkte.txt", "1\n2\n");
  EXPECT_FALSE(ConvertLfToCrLf(txt, false));
  EXPECT_EQ(bytesOf(txt), "1\n2\n");
  EXPECT_FALSE(QFile::exists(txt + "#"));
}

TEST_F(LineEnds, KeepsPermissions) {
  const QString p = put("perm.txt", "a\n");
  QFile::setPermissions(p, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
  EXPECT_TRUE(ConvertLfToCrLf(p, true));
  EXPECT_EQ(QFile::permissions(p) & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
            QFileDevice::ReadGroup);
}

TEST_F(Files, ShellAndWaitWaitsForTheChild) {
  const QString marker = path("marker.txt");
  const int code = ShellAndWait("/bin/sh", {"-c", "sleep 0.3; echo fertig > marker.txt; exit 3"}, 0, dir_.path());
  EXPECT_EQ(code, 3);
  EXPECT_EQ(bytesOf(marker), "fertig\n");  // written in the working folder before the return
}

TEST_F(Files, ShellAndWaitRunsAProgramPathWithBlanks) {
  QDir(dir_.path()).mkpath("mit Leer");
  const QString script = put("mit Leer/run me.sh", "#!/bin/sh\npwd > \"$(dirname \"$0\")/pwd.txt\"\n");
  QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(ShellAndWait(script, {}, 0, dir_.path()), 0);
  EXPECT_EQ(bytesOf(path("mit Leer/pwd.txt")).trimmed(), QFile::encodeName(QDir(dir_.path()).canonicalPath()));
  EXPECT_EQ(ShellAndWait(script, {"arg"}, 0), 0);
}

TEST_F(Files, ShellAndWaitRaisesWhenNothingStarts) {
  try {
    ShellAndWait(path("no-such-program"), {"x"}, 0);
    ADD_FAILURE() << "a missing program was started";
  } catch (const OrvenilError& e) {
    EXPECT_EQ(e.number(), kErrFileNotFound);
  }
  EXPECT_THROW(ShellAndWait("", {}, 0), OrvenilError);
}

TEST_F(Files, AssociatedProgram) {
  const QString doc = put("hilfe.htm", "<html></html>");
  const bool haveXdg = !QStandardPaths::findExecutable("xdg-open").isEmpty();
  EXPECT_EQ(FindAssociatedExecutable(doc), haveXdg ? "\"xdg-open\"" : "\"\"");
  const QString prog = put("prog", "#!/bin/sh\n");
  QFile::setPermissions(prog, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
  EXPECT_EQ(FindAssociatedExecutable(prog), "\"\"");
  EXPECT_EQ(FindAssociatedExecutable(path("missing.htm")), "\"\"");
  EXPECT_EQ(FindAssociatedExecutable(dir_.path()), "\"\"");
}

}  // namespace
}  // namespace orv
