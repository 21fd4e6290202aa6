// Zone rules: central meridian from easting or longitude, false easting, zone
// number and code digit, ellipsoid of a system.
#include <gtest/gtest.h>

#include "foundation/DialogService.h"
#include "geodesy/ZoneRules.h"

namespace orv {
namespace {

// Records message boxes; any other dialog is a test failure.
class RecordingDialogs : public DialogService {
 public:
  QStringList messages;
  MsgResult messageBox(const QString& text, MsgButtons, MsgIcon icon, const QString& title) override {
    messages << title + QStringLiteral("|") + text;
    EXPECT_EQ(icon, MsgIcon::Critical);
    return MsgResult::Ok;
  }
  QString inputBox(const QString&, const QString&, const QString&) override { return Unexpected(); }
  FileDialogResult openFileDialog(const FileDialogRequest&) override { Unexpected(); return {}; }
  FileDialogResult saveFileDialog(const FileDialogRequest&) override { Unexpected(); return {}; }
  int showModal(QDialog*) override { Unexpected(); return 0; }
  void openDropDown(QComboBox*) override { Unexpected(); }
  void popupMenu(QMenu*, const QPoint&) override { Unexpected(); }
  bool openUrl(const QString&) override { Unexpected(); return false; }
  bool startProgram(const QString&, const QStringList&) override { Unexpected(); return false; }
  void setBusy(bool) override {}
  void processEvents() override {}
  void exitProgram(int) override { Unexpected(); }

 private:
  QString Unexpected() {
    ADD_FAILURE() << "unexpected dialog";
    return QString();
  }
};

class ZoneRules : public ::testing::Test {
 protected:
  void SetUp() override { SetDialogService(&dialogs); }
  void TearDown() override { SetDialogService(nullptr); }
  RecordingDialogs dialogs;
};

TEST_F(ZoneRules, CentralMeridianFromTheFirstDigitOfTheEasting) {
  EXPECT_EQ(ErmittleZoneVerebnet(3512345.678, QStringLiteral("Krassowski")), 9);
  EXPECT_EQ(ErmittleZoneVerebnet(7512345.0, QStringLiteral("Bessel")), 21);
  EXPECT_EQ(ErmittleZoneVerebnet(1512345.0, QStringLiteral("GRS1980")), 3);
  EXPECT_EQ(ErmittleZoneVerebnet(4391390.7313, QStringLiteral("GRS1980")), 21);
  EXPECT_EQ(ErmittleZoneVerebnet(3512345.0, QStringLiteral("WGS1984")), 0);
  EXPECT_EQ(ErmittleZoneVerebnet(3512345.0, QStringLiteral("grs1980")), 0);
  EXPECT_TRUE(dialogs.messages.isEmpty());
}

TEST_F(ZoneRules, EastingWithoutAZoneIsReported) {
  EXPECT_EQ(ErmittleZoneVerebnet(5512345.0, QStringLiteral("GRS1980")), 0);
  EXPECT_EQ(ErmittleZoneVerebnet(8512345.0, QStringLiteral("Bessel")), 0);
  EXPECT_EQ(ErmittleZoneVerebnet(-3512345.0, QStringLiteral("Krassowski")), 0);
  EXPECT_EQ(ErmittleZoneVerebnet(0.5, QStringLiteral("Krassowski")), 0);
  ASSERT_EQ(dialogs.messages.size(), 4);
  EXPECT_EQ(dialogs.messages.first(),
            QStringLiteral("Orvenil ErmittleZoneVerebnet|Zone bzw. Koordinatensystem ungültig! Abbruch!"));
}

TEST_F(ZoneRules, FalseEasting) {
  EXPECT_EQ(ErmittleFalseEasting(9, QStringLiteral("Bessel")), 3500000);
  EXPECT_EQ(ErmittleFalseEasting(21, QStringLiteral("Krassowski")), 7500000);
  EXPECT_EQ(ErmittleFalseEasting(10, QStringLiteral("Bessel")), 0);
  EXPECT_EQ(ErmittleFalseEasting(24, QStringLiteral("Bessel")), 0);
  EXPECT_EQ(ErmittleFalseEasting(77, QStringLiteral("WGS1984")), 500000);
  EXPECT_EQ(ErmittleFalseEasting(15, QStringLiteral("Hayford")), 0);
}

TEST_F(ZoneRules, CentralMeridianFromTheLongitudeText) {
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("13.4"), QStringLiteral("GRS1980")), 15);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("13.4"), QStringLiteral("Bessel")), 12);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("6"), QStringLiteral("GRS1980")), 9);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("5.9999999"), QStringLiteral("WGS1984")), 3);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("1.5"), QStringLiteral("Krassowski")), 3);
  EXPECT_EQ(ErmittleZoneAusLaenge(QString(), QStringLiteral("GRS1980")), 3);
  EXPECT_EQ(ErmittleZoneAusLaenge(QString(), QStringLiteral("Krassowski")), 0);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("-0.5"), QStringLiteral("GRS1980")), 0);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("40"), QStringLiteral("GRS1980")), 21);
  EXPECT_EQ(ErmittleZoneAusLaenge(QStringLiteral("13.4"), QStringLiteral("Hayford")), 0);
}

TEST_F(ZoneRules, ZoneNumberRoundsHalvesToEven) {
  EXPECT_EQ(ZoneFromCentralMeridian(3), 1);
  EXPECT_EQ(ZoneFromCentralMeridian(21), 4);
  EXPECT_EQ(ZoneFromCentralMeridian(6), 2);
  EXPECT_EQ(ZoneFromCentralMeridian(12), 2);
  EXPECT_EQ(ZoneFromCentralMeridian(18), 4);
  EXPECT_EQ(ZoneFromCentralMeridian(0), 0);
}

TEST_F(ZoneRules, CodeDigitAndEllipsoidOfASystemMatchExactly) {
  EXPECT_EQ(MeridianCodeDigit(QStringLiteral("15"), QStringLiteral("WGS1984")), QStringLiteral("3"));
  EXPECT_EQ(MeridianCodeDigit(QStringLiteral("3"), QStringLiteral("GRS1980")), QStringLiteral("1"));
  EXPECT_EQ(MeridianCodeDigit(QStringLiteral("03"), QStringLiteral("GRS1980")), QString());
  EXPECT_EQ(MeridianCodeDigit(QStringLiteral("9"), QStringLiteral("Bessel")), QString());
  EXPECT_EQ(EllipsoidForSystem(QStringLiteral("ETRS89")), QStringLiteral("GRS1980"));
  EXPECT_EQ(EllipsoidForSystem(QStringLiteral("RD83")), QStringLiteral("Bessel"));
  EXPECT_EQ(EllipsoidForSystem(QStringLiteral("RD40/83")), QString());
}

}  // namespace
}  // namespace orv
