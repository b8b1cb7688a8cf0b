#pragma once
// Images drawn for this project: no file of any other program is used.

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace artwork {

QIcon applicationIcon();            // 32 x 32
QPixmap applicationIcon(int size);  // the same drawing at size x size, for the desktop's icon theme
QPixmap lamp(const QColor &colour); // 16 x 16 status lamp
QPixmap aboutPicture();             // 401 x 238, tab 2

} // namespace artwork
