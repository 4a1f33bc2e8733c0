// The program's small pictures, drawn rather than shipped: the weather picture of the
// EPW banner (also the window icon), the table picture of the CSV banner and the help
// button's picture.
#pragma once

#include <QPixmap>
#include <QString>

class QWidget;

namespace kestrum::ui {

QPixmap WeatherPicture(int size);
QPixmap TablePicture(int size);
QPixmap HelpPicture(int size);

// A tab's banner: picture at the left, text centred in teal, wrapped.
QWidget* MakeBanner(const QPixmap& picture, const QString& text, QWidget* parent);

}  // namespace kestrum::ui
