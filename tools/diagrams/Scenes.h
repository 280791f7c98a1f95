#pragma once
// The five wiring pictures and the thumbnails of the help tab.

#include <QImage>

QImage SingleLineDiagram();    // 410 x 320
QImage TwoLineDiagram();       // 478 x 322
QImage FourLineDiagram();      // 478 x 400
QImage SplitterExplained();    // 413 x 340
QImage InternetLineDiagram();  // 572 x 387
// A 96 x 68 miniature of a picture on a card, on one flat key colour that
// is also its bottom-left pixel (the help tab leaves that colour out).
QImage Thumbnail(const QImage& picture);
