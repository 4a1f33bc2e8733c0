// Runs every registered window test; "--screenshots DIR" takes the window pictures instead.
#include <QApplication>
#include <QString>
#include <QtTest>

#include "gui_test_support.h"

int TakeScreenshots(const QString& directory);  // screenshots.cpp

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("kestrum-test"));
  if (argc >= 3 && QString::fromLocal8Bit(argv[1]) == QStringLiteral("--screenshots")) {
    return TakeScreenshots(QString::fromLocal8Bit(argv[2]));
  }
  int failures = 0;
  for (const auto& make : kestrum::test::GuiTests()) {
    std::unique_ptr<QObject> test = make();
    failures += QTest::qExec(test.get(), argc, argv);
  }
  return failures == 0 ? 0 : 1;
}
