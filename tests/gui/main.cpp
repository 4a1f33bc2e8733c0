// Runs every registered window test; "--screenshots DIR" takes the window pictures instead;
// "--screen WIDTHxHEIGHT" runs the screen tests on an offscreen screen of that size.
#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <QString>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <vector>

#include "gui_test_support.h"

int TakeScreenshots(const QString& directory);  // screenshots.cpp

namespace {

// The offscreen platform reads its screens from a JSON file named in the platform's options.
bool UseOffscreenScreen(const QString& size, const QTemporaryDir& dir) {
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(size);
  if (!m.hasMatch() || !dir.isValid()) return false;
  const QString path = dir.filePath(QStringLiteral("screens.json"));
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  file.write(QStringLiteral("{\"screens\": [{\"name\": \"test\", \"x\": 0, \"y\": 0, "
                            "\"width\": %1, \"height\": %2, \"logicalDpi\": 96}]}")
                 .arg(m.captured(1), m.captured(2))
                 .toUtf8());
  file.close();
  qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + QFile::encodeName(path));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // "--screen WxH" is taken out of the arguments before Qt and Qt Test see them.
  std::vector<char*> args(argv, argv + argc);
  QTemporaryDir screenDir;
  bool screenTests = false;
  if (args.size() >= 3 && QString::fromLocal8Bit(args[1]) == QStringLiteral("--screen")) {
    if (!UseOffscreenScreen(QString::fromLocal8Bit(args[2]), screenDir)) {
      std::fprintf(stderr, "--screen wants WIDTHxHEIGHT, e.g. --screen 1366x768\n");
      return 2;
    }
    args.erase(args.begin() + 1, args.begin() + 3);
    screenTests = true;
  }
  int count = static_cast<int>(args.size());
  args.push_back(nullptr);
  QApplication app(count, args.data());
  QApplication::setApplicationName(QStringLiteral("kestrum-test"));
  if (count >= 3 && QString::fromLocal8Bit(args[1]) == QStringLiteral("--screenshots")) {
    return TakeScreenshots(QString::fromLocal8Bit(args[2]));
  }
  int failures = 0;
  for (const auto& make : screenTests ? kestrum::test::ScreenTests() : kestrum::test::GuiTests()) {
    std::unique_ptr<QObject> test = make();
    failures += QTest::qExec(test.get(), count, args.data());
  }
  return failures == 0 ? 0 : 1;
}
