#pragma once
// Icons with handle identity and lists of equally sized pictures.

#include <QImage>
#include <cstdint>
#include <vector>

#include "platform/Classes.h"

// An icon's identity as the shell sees it; 0 is no icon.
using HICON = uint32_t;

// The picture behind a live icon handle; a null image for an unknown one.
QImage IconImage(HICON handle);

class TIcon : public TObject {
 public:
  TIcon() = default;
  explicit TIcon(const QImage& image) : image_(image) {}
  TIcon(const TIcon& other) : TObject(), image_(other.image_) {}
  TIcon& operator=(const TIcon& other);
  ~TIcon() override;

  bool Empty() const { return image_.isNull(); }
  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  const QImage& Image() const { return image_; }
  void SetImage(const QImage& image);
  void Assign(const TIcon& other) { *this = other; }
  // Raises EInvalidGraphic when the file is missing or not a picture.
  void LoadFromFile(const QString& path);

  // Made on first request and kept until the picture changes; 0 when empty.
  HICON Handle() const;

 private:
  void ReleaseHandle();

  QImage image_;
  mutable HICON handle_ = 0;
};

class TImageList : public TComponent {
  Q_OBJECT
 public:
  explicit TImageList(TComponentBase* AOwner = nullptr, int width = 16, int height = 16);

  int Count() const { return int(images_.size()); }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Changing the size empties the list, as every picture has the list's size.
  void SetWidth(int width);
  void SetHeight(int height);

  // Scales the picture to the list's size; answers its index.
  int Add(const QImage& image);
  // Both raise EListError for an index outside the list.
  void GetIcon(int index, TIcon& icon) const;
  QImage Image(int index) const;

 private:
  void CheckIndex(int index) const;

  int width_;
  int height_;
  std::vector<QImage> images_;
};
