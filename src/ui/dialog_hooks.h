// The modal interactions of the main window, as replaceable functions: the program uses
// message boxes, tests answer them without a screen.
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace kestrum::ui {

enum class SaveFailedChoice { Retry, CloseWithoutSaving, Cancel };

struct DialogHooks {
  // A notice that waits for acknowledgement ("exiting", a grid cell that does not convert).
  std::function<void(const QString& message)> notice;
  // An error that ended the current action (a file that cannot be read, a bad row).
  std::function<void(const QString& message)> error;
  // A yes/no question (the layout a picked CSV file shows); true for Yes.
  std::function<bool(const QString& message)> question;
  // The settings could not be saved at close: retry, close anyway, or keep the window open.
  std::function<SaveFailedChoice(const QString& message)> saveFailed;
  // Ends the program with an exit status (the automatic mode's Exit).
  std::function<void(int status)> quit;
  // Whether a box could be seen and dismissed at all: false on a platform that shows no
  // window (offscreen, minimal), where a box that waits would wait for ever.
  std::function<bool()> windowsSeen;
};

// Fills every empty member with the desktop behaviour: message boxes over window (or
// free-standing while window is minimised) titled with the application title,
// QCoreApplication::exit for quit, and for windowsSeen whether the platform
// (QGuiApplication::platformName()) is one that shows windows.
void CompleteWithMessageBoxes(DialogHooks& hooks, QWidget* window);

}  // namespace kestrum::ui
