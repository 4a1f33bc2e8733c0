// Pictures of a chart: saving as PNG, copying to the clipboard, and the context menu that
// offers both.
#pragma once

#include <QString>
#include <functional>

class QImage;
class QMenu;
class QWidget;

namespace kestrum::chart {

// What the widget shows, as an image.
QImage PictureOf(QWidget& source);

// Saves the picture as a PNG file; false when it cannot be written.
bool SavePicture(QWidget& source, const QString& path);

// Puts the picture on the clipboard.
void CopyPicture(QWidget& source);

// Asks for the PNG file to save into; empty when cancelled.
using SavePathChooser = std::function<QString(QWidget* parent)>;
QString ChoosePngFile(QWidget* parent);

// A menu with "Save as PNG..." and "Copy" for the picture of source. A picture that
// cannot be written is reported in a message box.
QMenu* MakePictureMenu(QWidget& source, QWidget* parent, const SavePathChooser& chooser);

inline constexpr const char* kSaveAsPngText = "Save as PNG...";
inline constexpr const char* kCopyText = "Copy";

}  // namespace kestrum::chart
