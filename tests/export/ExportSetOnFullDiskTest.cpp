// A vessel set exported over an older one on a disk that fills up: at every
// fill level the folder holds the whole old set or the whole new one, nothing
// beside it, and a failure says that the old set stays.
#include <QDir>

#include "export/ExportFixture.h"
#include "support/FullFolder.h"
#include "support/PrivateMountNamespace.h"

using namespace orv;

TEST_F(ExportTest, VesselSetOnAFillingDiskIsWholeOldOrWholeNew) {
  const char* inside = "ORV_TEST_VESSEL_SET_FULL_DISK";
  if (!test::InsidePrivateMountNamespace(inside)) return test::RunAgainInPrivateMountNamespace(inside);
  test::FullFolder disk;
  if (disk.path().isEmpty()) GTEST_SKIP() << disk.skipReason().toStdString();
  QList<Row> rows;
  for (int i = 0; i < 400; ++i)
    rows << Row{{"Punkt", QString("12.05.2021 10:%1:%2").arg(i / 60, 2, 10, QChar('0')).arg(i % 60, 2, 10, QChar('0'))},
                {"Zeile", QString("L%1;2;3;4;5;6;7;8;9;10;11;12;13;14;%2").arg(i).arg(i % 4 ? 1 : 0)},
                {"sYeZiel", QString("45%1.678").arg(i, 5, 10, QChar('0'))},
                {"sXeZiel", "5712345.123"}};
  fill(rows);
  State().ImportKopfzeile = "Zeit;x";
  State().EllipsoidZielKoordinaten = "Bessel";
  const QStringList names{"fahrt.csv", "fahrt.pkt", "fahrt.lne"};
  const auto setIn = [&](const QString& folder) {
    QList<QByteArray> set;
    for (const QString& name : names) set << bytesOf(folder + name);
    return set;
  };
  const auto exportTo = [&](const QString& folder, bool overwrite) {
    exportAs(folder + "fahrt.csv", 5, "1,2,18,19", "Ziel Kalkschiff Brisa", [&] {
      if (overwrite) dialogs->expectMessage("Datei schon vorhanden! Überschreiben?", MsgResult::Yes);
    });
  };
  exportTo(out, false);
  const QList<QByteArray> fresh = setIn(out), old{"alte Fahrt\r\n", "P1 1 1.0 2.0\r\n", "1 ( P1 P2 )\r\n"};
  const qint64 needed = fresh[0].size() + fresh[1].size() + fresh[2].size();

  int oldKept = 0, newWritten = 0;
  for (qint64 free = 0; free <= needed + 24576; free += 2048) {
    SCOPED_TRACE("free bytes: " + std::to_string(free));
    QFile::remove(disk.path() + "fuellung");
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(test::FullFolder::Put(disk.path() + names[i], old[i]));
    disk.fill(free);
    dialogs->clearRecords();
    exportTo(disk.path(), true);
    const QList<QByteArray> now = setIn(disk.path());
    ASSERT_TRUE(now == old || now == fresh) << now[0].size() << " " << now[1].size() << " " << now[2].size();
    EXPECT_EQ(QDir(disk.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).join(' ').toStdString(),
              "fahrt.csv fahrt.lne fahrt.pkt fuellung");
    const QStringList shown = dialogs->messageTexts().filter("konnte nicht geschrieben werden");
    if (now == old) {
      ++oldKept;
      ASSERT_EQ(shown.size(), 1) << dialogs->messageTexts().join('\n').toStdString();
      EXPECT_TRUE(shown[0].contains("Der Datenträger ist voll") &&
                  shown[0].contains("Die bisherigen Dateien fahrt.csv, fahrt.pkt und fahrt.lne bleiben unverändert"))
          << shown[0].toStdString();
    } else {
      ++newWritten;
      EXPECT_TRUE(shown.isEmpty()) << shown.join('\n').toStdString();
    }
  }
  EXPECT_GT(oldKept, 0);
  EXPECT_GT(newWritten, 0);
}
