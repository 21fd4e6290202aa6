#pragma once
// A main window started in a folder of its own: program folder, database
// folder and temporary folder under a temporary directory, the scripted
// dialog service installed, the program-wide state and the locale switch
// reset, and the separator probe answering as a "." system does.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "foundation/LocaleSwitch.h"
#include "platform/db/DatabaseHelpers.h"
#include "platform/ui/ScriptedDialogService.h"
#include "shell/FormOrvenil.h"
#include "shell/ProgramState.h"

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(root.isValid());
    QDir(root.path()).mkpath("Programm/Orvenil-Datenbanken");
    QDir(root.path()).mkpath("Temp");
    folders.programFolder = root.path() + "/Programm/";
    folders.databaseFolder = folders.programFolder + "Orvenil-Datenbanken/";
    folders.tempFolder = root.path() + "/Temp/";
    orv::ResetProgramState();
    orv::ResetLocaleSwitch();
    orv::SetSeparatorProbe([] { return QStringLiteral("1.1"); });
    dialogs->setFailureHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
  }

  void TearDown() override {
    form.reset();
    orv::CloseAllDatabases(true);
    orv::SetSeparatorProbe({});
    orv::ResetLocaleSwitch();
    orv::ResetProgramState();
  }

  // Copies a file of tests/data/window into the database folder.
  void putTable(const QString& dataName, const QString& asName = QString()) {
    const QString target = folders.databaseFolder + (asName.isEmpty() ? dataName : asName);
    QFile::remove(target);
    ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_TEST_DATA_DIR) + "/window/" + dataName, target));
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
  }
  void putAllTables() {
    putTable("sys_7Parameter.dat");
    putTable("sys_NTv2.dat");
    putTable("Quasigeoidmodell.dat");
  }
  // The geoid program, the EGM96 grid and the geoid-model table of the
  // build's default database folder.
  void putDefaultGeoidFiles() {
    for (const char* name : {"saphtel.exe", "EGM96_Deutschland.grd", "Quasigeoidmodell.dat"}) {
      const QString target = dbFile(name);
      QFile::remove(target);
      ASSERT_TRUE(QFile::copy(QStringLiteral(ORV_DATABASE_FOLDER) + "/" + name, target)) << name;
      QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
  }
  // The geoid program of the database folder replaced by one that runs it
  // and then alters its answer (OUTPUT.USR) with the sed script given to
  // alterGeoidAnswer (none at first).
  void putAlteringGeoidProgram() {
    ASSERT_TRUE(QFile::rename(dbFile("saphtel.exe"), dbFile("saphtel-programm")));
    QFile program(dbFile("saphtel.exe"));
    ASSERT_TRUE(program.open(QIODevice::WriteOnly));
    program.write(("#!/bin/sh\n'" + dbFile("saphtel-programm") + "' || exit $?\nsed -i -f '" +
                   dbFile("aendern.sed") + "' OUTPUT.USR\n")
                      .toUtf8());
    program.close();
    program.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    alterGeoidAnswer("");
  }
  void alterGeoidAnswer(const QByteArray& sedScript) {
    QFile sed(dbFile("aendern.sed"));
    ASSERT_TRUE(sed.open(QIODevice::WriteOnly | QIODevice::Truncate));
    sed.write(sedScript);
  }
  QString dbFile(const QString& name) const { return folders.databaseFolder + name; }
  static QByteArray bytesOf(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
  }

  orv::FormOrvenil& start(const QString& commandLine = QString()) {
    form.reset();
    form = std::make_unique<orv::FormOrvenil>(folders, commandLine);
    form->Form_Load();
    return *form;
  }

  QTemporaryDir root;
  orv::FormOrvenilFolders folders;
  orv::ScopedScriptedDialogs dialogs;
  std::unique_ptr<orv::FormOrvenil> form;
};
