#pragma once
// Window sizes are given as outer sizes, frame included, as on the classic
// desktop the layouts were drawn for: a 4-pixel border on every side and a
// 19-pixel caption bar.

#include <QSize>

constexpr int kFrameSide = 4;
constexpr int kCaptionHeight = 19;

constexpr QSize ClientSizeForOuter(int outerWidth, int outerHeight) {
  return QSize(outerWidth - 2 * kFrameSide, outerHeight - 2 * kFrameSide - kCaptionHeight);
}
