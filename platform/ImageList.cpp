#include "platform/ImageList.h"

#include <unordered_map>

#include "platform/Exceptions.h"

namespace {

std::unordered_map<HICON, QImage>& Icons() {
  static std::unordered_map<HICON, QImage> icons;
  return icons;
}

HICON RegisterIcon(const QImage& image) {
  static HICON last = 0;
  do ++last;
  while (last == 0 || Icons().count(last));
  Icons()[last] = image;
  return last;
}

}  // namespace

QImage IconImage(HICON handle) {
  auto it = Icons().find(handle);
  return it == Icons().end() ? QImage() : it->second;
}

TIcon& TIcon::operator=(const TIcon& other) {
  if (this != &other) SetImage(other.image_);
  return *this;
}

TIcon::~TIcon() { ReleaseHandle(); }

void TIcon::SetImage(const QImage& image) {
  ReleaseHandle();
  image_ = image;
}

void TIcon::LoadFromFile(const QString& path) {
  QImage image(path);
  if (image.isNull()) throw EInvalidGraphic(QStringLiteral("Cannot load icon '%1'").arg(path));
  SetImage(image);
}

HICON TIcon::Handle() const {
  if (!handle_ && !Empty()) handle_ = RegisterIcon(image_);
  return handle_;
}

void TIcon::ReleaseHandle() {
  if (handle_) Icons().erase(handle_);
  handle_ = 0;
}

TImageList::TImageList(TComponentBase* AOwner, int width, int height)
    : TComponent(AOwner), width_(width), height_(height) {}

void TImageList::SetWidth(int width) {
  if (width == width_) return;
  width_ = width;
  images_.clear();
}

void TImageList::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  images_.clear();
}

int TImageList::Add(const QImage& image) {
  if (image.isNull()) throw EInvalidGraphic(QStringLiteral("Cannot add an empty picture to an image list"));
  const QImage sized = image.size() == QSize(width_, height_)
                           ? image
                           : image.scaled(width_, height_, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  images_.push_back(sized.convertToFormat(QImage::Format_ARGB32_Premultiplied));
  return Count() - 1;
}

void TImageList::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) ListIndexError(index);
}

void TImageList::GetIcon(int index, TIcon& icon) const {
  CheckIndex(index);
  icon.SetImage(images_[size_t(index)]);
}

QImage TImageList::Image(int index) const {
  CheckIndex(index);
  return images_[size_t(index)];
}
