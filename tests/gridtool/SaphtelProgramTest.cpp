// The built saphtel.exe, run as a child process in a temporary folder, and
// the same run in-process.
#include "support/TestGrids.h"

#include "gridtool/GeoidGridFile.h"
#include "gridtool/Saphtel.h"
#include "gridtool/Undulation.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <cmath>
#include <sstream>

using namespace orv;
using namespace orv::test;

namespace {

std::int32_t Node(int row, int col)
{
    return 400000 + 1000 * row - 700 * col + (row * col % 5) * 37;
}

class SaphtelProgram : public ::testing::Test {
protected:
    QTemporaryDir dir;
    GridSpec spec{Degrees(50), Degrees(52), Degrees(8), Degrees(11), Minutes(15), Minutes(15)};

    std::string Path(const char* name) const { return dir.filePath(name).toStdString(); }
    bool Exists(const char* name) const { return QFile::exists(dir.filePath(name)); }
    void WriteInput(const std::string& text) { WriteFileBytes(Path("INPUT.USR"), text); }
    void WriteDefaultGrid(const std::string& trailing = {}) { WriteGrid(Path("saphtel"), spec, Node, trailing); }

    // Runs the built program; returns its exit code (-1 when it did not run).
    int Run()
    {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.start(QString::fromUtf8(ORV_DATABASE_FOLDER "/saphtel.exe"), {});
        if (!p.waitForFinished(60000) || p.exitStatus() != QProcess::NormalExit)
            return -1;
        return p.exitCode();
    }

    std::string Output() const { return ReadFileBytes(Path("OUTPUT.USR")); }

    std::string Expected(double latDeg, double lonDeg)
    {
        GeoidGridFile grid(Path("saphtel"));
        const double n = InterpolateUndulation(grid, Rad(latDeg), Rad(lonDeg));
        char buf[64];
        std::snprintf(buf, sizeof buf, "%10.3f%10.6f%10.6f\r\n", n, latDeg, lonDeg);
        return buf;
    }

    static std::string PointLine(double latDeg, double lonDeg, const char* end = "\r\n")
    {
        std::ostringstream s;
        s.precision(17);
        s << Rad(latDeg) << ' ' << Rad(lonDeg) << end;
        return s.str();
    }
};

} // namespace

TEST_F(SaphtelProgram, OneLinePerInputLineInOrder)
{
    WriteDefaultGrid();
    WriteInput(PointLine(51.1, 9.2) + "\r\n" + PointLine(52.3, 9.0) + "kein Punkt\r\n" + PointLine(50.6, 10.4) +
               PointLine(51.0, 9.0));
    ASSERT_EQ(Run(), 0);
    const std::string nothing = "999999.000  0.000000  0.000000\r\n";
    EXPECT_EQ(Output(), Expected(51.1, 9.2) + nothing + "999999.000 52.300000  9.000000\r\n" + nothing +
                            Expected(50.6, 10.4) + Expected(51.0, 9.0));
    // A node of an inner cell is written as its own value.
    EXPECT_EQ(Expected(51.0, 9.0), "    40.150 51.000000  9.000000\r\n");
}

TEST_F(SaphtelProgram, LfAndCrLfInputGiveTheSameOutput)
{
    WriteDefaultGrid();
    WriteInput(PointLine(51.1, 9.2, "\r\n") + PointLine(50.7, 8.3, "\r\n"));
    ASSERT_EQ(Run(), 0);
    const std::string crlf = Output();
    WriteInput(PointLine(51.1, 9.2, "\n") + PointLine(50.7, 8.3, ""));
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(Output(), crlf);
    EXPECT_EQ(crlf, Expected(51.1, 9.2) + Expected(50.7, 8.3));
}

TEST_F(SaphtelProgram, EmptyInputGivesEmptyOutput)
{
    WriteDefaultGrid();
    WriteInput("");
    ASSERT_EQ(Run(), 0);
    ASSERT_TRUE(Exists("OUTPUT.USR"));
    EXPECT_EQ(Output(), "");
}

TEST_F(SaphtelProgram, LineEndAfterTheLastNodeIsTolerated)
{
    WriteDefaultGrid("\r\n");
    WriteInput(PointLine(50.0, 11.0));
    ASSERT_EQ(Run(), 0);
    EXPECT_EQ(Output(), Expected(50.0, 11.0));
}

TEST_F(SaphtelProgram, MissingOrUnusableInputsFailWithoutOutput)
{
    // No grid; a stale OUTPUT.USR of an earlier run must not survive.
    WriteInput(PointLine(51.1, 9.2));
    WriteFileBytes(Path("OUTPUT.USR"), "    47.000 51.100000  9.200000\r\n");
    EXPECT_GT(Run(), 0);
    EXPECT_FALSE(Exists("OUTPUT.USR"));

    // No INPUT.USR.
    WriteDefaultGrid();
    QFile::remove(dir.filePath("INPUT.USR"));
    EXPECT_GT(Run(), 0);
    EXPECT_FALSE(Exists("OUTPUT.USR"));

    // A grid of one row.
    WriteInput(PointLine(51.1, 9.2));
    spec.latMax = spec.latMin;
    WriteDefaultGrid();
    EXPECT_GT(Run(), 0);
    EXPECT_FALSE(Exists("OUTPUT.USR"));

    // A grid cut short.
    spec.latMax = Degrees(52);
    WriteDefaultGrid();
    const std::string bytes = ReadFileBytes(Path("saphtel"));
    WriteFileBytes(Path("saphtel"), bytes.substr(0, bytes.size() - 4));
    EXPECT_GT(Run(), 0);
    EXPECT_FALSE(Exists("OUTPUT.USR"));
}

TEST_F(SaphtelProgram, InProcessRunReportsFailures)
{
    std::ostringstream errors;
    EXPECT_EQ(RunSaphtel(dir.path().toStdString(), errors), 1);
    EXPECT_NE(errors.str().find("saphtel"), std::string::npos);
    EXPECT_FALSE(Exists("OUTPUT.USR"));

    WriteDefaultGrid();
    WriteInput(PointLine(51.1, 9.2));
    std::ostringstream none;
    EXPECT_EQ(RunSaphtel(dir.path().toStdString() + "/", none), 0);
    EXPECT_EQ(none.str(), "");
    EXPECT_EQ(Output(), Expected(51.1, 9.2));
}
