// What the window tests share: a throw-away program directory, recorded dialogs, the
// bound libraries and the registry of test classes.
#pragma once

#include <QObject>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "config/settings.h"
#include "csv/field_specs_window.h"
#include "csv/xls_preview_window.h"
#include "ui/dialog_hooks.h"
#include "ui/main_window.h"

namespace kestrum::test {

// A program directory of its own: settings file, log and interim files land there.
class ProgramDir {
 public:
  ProgramDir();
  bool isValid() const { return dir_.isValid(); }
  QString path() const { return dir_.path(); }
  QString file(const QString& name) const { return dir_.filePath(name); }
  const ProgramPaths& paths() const { return paths_; }
  // Creates a subdirectory and returns its path.
  QString makeDir(const QString& name) const;
  // "[name]", a section line of the settings file (kEpwSection, kCsvSection, ...).
  static QString section(const char* name) {
    return QLatin1Char('[') + QLatin1String(name) + QLatin1Char(']');
  }
  // Writes text (lines joined with CR LF) into the settings file.
  void writeSettings(const QStringList& lines) const;
  // Places the help page beside the "program".
  void addHelpPage() const;

 private:
  QTemporaryDir dir_;
  ProgramPaths paths_;
};

// Answers and records every modal interaction of the window.
struct DialogRecorder {
  QStringList notices;
  QStringList errors;
  QStringList questions;
  std::vector<bool> questionAnswers;  // consumed in order; No when empty
  QStringList saveFailures;
  std::vector<ui::SaveFailedChoice> saveAnswers;  // consumed in order; Cancel when empty
  std::optional<int> quitStatus;
  // What windowsSeen answers: a screen where boxes are seen, unless a test says otherwise.
  bool windowsSeen = true;

  ui::DialogHooks hooks();
};

// Both libraries from the build's bin directory, bound once for the test program.
OutsideLibraries* Libraries();

// A window as main() makes it, over dir, with the recorder's hooks.
std::unique_ptr<ui::TForm1> MakeWindow(const ProgramDir& dir, DialogRecorder& recorder,
                                       const QStringList& arguments = {});

QByteArray ReadFileBytes(const QString& path);
void WriteFileBytes(const QString& path, const QByteArray& bytes);
QString SampleEpw();  // the Golden, CO sample
QString SampleCsv();  // the Greensboro, NC TMY3 CSV file
// A copy of the sample EPW in dir whose hourly row lineNumber has a dry bulb that does not convert.
QString BrokenEpw(const QString& dir, int lineNumber);

// A file of ten lines of ten fields, "r<line>c<field>", named small.csv in dir.
QString TenByTen(const ProgramDir& dir);

// Settings for the TMY3 sample as SpecifyTmy3 sets it up (no date field, first row 3, dew
// point, global and direct normal in deg C, W/m2, m/s), with its site, output into out.
QStringList Tmy3Settings(const QString& out);

// A user's double-click on the cell of file line `line`, field `column` (both from 1).
void DoubleClickCell(TXLSform& preview, int line, int column);

// What a user does in the field window for the TMY3 CSV file: no date, dew
// point, global and direct normal, deg C, W/m2, m/s; first row 3; each column by a
// double-click on its header in line 2 of the preview ("Done" is left to the caller).
void SpecifyTmy3(TfrmFieldSpecs& window);

// The windows' work area is `area` for the life of the scope (as on a desktop with panels,
// or with more room than the test screen has), whatever the screen's.
class WorkAreaScope {
 public:
  explicit WorkAreaScope(const QRect& area);
  ~WorkAreaScope();
  WorkAreaScope(const WorkAreaScope&) = delete;
  WorkAreaScope& operator=(const WorkAreaScope&) = delete;
};

// Test classes register themselves; main() runs them all. Screen tests run instead when
// main() is given "--screen WIDTHxHEIGHT", on an offscreen screen of that size.
using MakeTest = std::function<std::unique_ptr<QObject>()>;
void RegisterGuiTest(MakeTest make, bool screenTest = false);
const std::vector<MakeTest>& GuiTests();
const std::vector<MakeTest>& ScreenTests();

template <typename T, bool screenTest = false>
struct GuiTestRegistration {
  GuiTestRegistration() {
    RegisterGuiTest([] { return std::unique_ptr<QObject>(new T()); }, screenTest);
  }
};

}  // namespace kestrum::test

#define KESTRUM_GUI_TEST(Class) \
  static const ::kestrum::test::GuiTestRegistration<Class> registration_##Class
#define KESTRUM_SCREEN_TEST(Class) \
  static const ::kestrum::test::GuiTestRegistration<Class, true> registration_##Class
