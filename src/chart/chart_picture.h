// Pictures of a chart: the chart alone (its scene, without the buttons laid over it) under
// a caption band that names what it shows, saved as PNG or copied to the clipboard, and
// the context menu that offers both.
#pragma once

#include <QString>
#include <functional>

class QGraphicsView;
class QImage;
class QMenu;
class QPainter;
class QWidget;

namespace kestrum::chart {

// The text key under which a saved picture keeps its title (a PNG text chunk).
inline constexpr const char* kPictureTitleKey = "Title";

// What the view's scene shows, at the view's size, without the widgets placed over it,
// below a band with caption (none when the caption is empty). The picture's title text
// (kPictureTitleKey) is title, or caption when title is empty.
QImage ScenePicture(QGraphicsView& view, const QString& caption, const QString& title = {});

// The height of the caption band of a picture, and the band painted across width.
int CaptionBandHeight();
void PaintCaptionBand(QPainter& painter, int width, const QString& caption);

// Saves the picture as a PNG file; false when it cannot be written.
bool SavePicture(const QImage& picture, const QString& path);

// Puts the picture on the clipboard.
void CopyPicture(const QImage& picture);

// Asks for the PNG file to save into; empty when cancelled.
using SavePathChooser = std::function<QString(QWidget* parent)>;
QString ChoosePngFile(QWidget* parent);

// Makes the picture when it is asked for.
using PictureMaker = std::function<QImage()>;

// A menu with "Save as PNG..." and "Copy" for the picture that make draws. A picture that
// cannot be written is reported in a message box.
QMenu* MakePictureMenu(PictureMaker make, QWidget* parent, const SavePathChooser& chooser);

inline constexpr const char* kSaveAsPngText = "Save as PNG...";
inline constexpr const char* kCopyText = "Copy";

}  // namespace kestrum::chart
