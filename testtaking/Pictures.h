#pragma once

#include <QPixmap>

// The test wizard's pictures beside the grade: a smiling face for a pass, a frowning
// one for a fail, drawn at size × size device-independent pixels.
QPixmap HappyPicture(int size = 32, qreal devicePixelRatio = 1);
QPixmap SadPicture(int size = 32, qreal devicePixelRatio = 1);
