#include "ui/dialog_hooks.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QWidget>

namespace kestrum::ui {

namespace {

// A minimised window cannot carry a visible box: the box then stands on its own.
QWidget* BoxParent(QWidget* window) {
  return window != nullptr && !window->isMinimized() ? window : nullptr;
}

}  // namespace

void CompleteWithMessageBoxes(DialogHooks& hooks, QWidget* window) {
  if (!hooks.notice) {
    hooks.notice = [window](const QString& message) {
      QMessageBox::information(BoxParent(window), QGuiApplication::applicationDisplayName(),
                               message);
    };
  }
  if (!hooks.error) {
    hooks.error = [window](const QString& message) {
      QMessageBox::critical(BoxParent(window), QGuiApplication::applicationDisplayName(),
                            message);
    };
  }
  if (!hooks.question) {
    hooks.question = [window](const QString& message) {
      return QMessageBox::question(BoxParent(window), QGuiApplication::applicationDisplayName(),
                                   message, QMessageBox::Yes | QMessageBox::No,
                                   QMessageBox::Yes) == QMessageBox::Yes;
    };
  }
  if (!hooks.saveFailed) {
    hooks.saveFailed = [window](const QString& message) {
      QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                      QStringLiteral("The settings could not be saved:\n%1").arg(message),
                      QMessageBox::NoButton, BoxParent(window));
      QPushButton* retry = box.addButton(QMessageBox::Retry);
      QPushButton* discard =
          box.addButton(QStringLiteral("Close &without saving"), QMessageBox::DestructiveRole);
      QPushButton* cancel = box.addButton(QMessageBox::Cancel);
      box.setDefaultButton(retry);
      box.setEscapeButton(cancel);
      box.exec();
      if (box.clickedButton() == retry) return SaveFailedChoice::Retry;
      if (box.clickedButton() == discard) return SaveFailedChoice::CloseWithoutSaving;
      return SaveFailedChoice::Cancel;
    };
  }
  if (!hooks.quit) {
    hooks.quit = [](int status) { QCoreApplication::exit(status); };
  }
  if (!hooks.windowsSeen) {
    hooks.windowsSeen = [] {
      const QString platform = QGuiApplication::platformName();
      return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
    };
  }
}

}  // namespace kestrum::ui
