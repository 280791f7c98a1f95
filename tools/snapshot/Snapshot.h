#pragma once
// Screens of the snapshot program. Each file of this folder registers the
// screens it renders; the program writes every one of them as DIR/<file>.

#include <QImage>
#include <QString>
#include <functional>

using TScreenRenderer = std::function<QImage()>;

// Returns true so that it can initialise a static registrar.
bool RegisterScreen(const QString& fileName, TScreenRenderer render);

#define SNAPSHOT_CONCAT2(a, b) a##b
#define SNAPSHOT_CONCAT(a, b) SNAPSHOT_CONCAT2(a, b)
#define SNAPSHOT_SCREEN(fileName, renderer) \
  static const bool SNAPSHOT_CONCAT(snapshotScreen, __LINE__) = RegisterScreen(fileName, renderer)
