#include "platform/emblem.h"

#include <array>
#include <map>

namespace tirpo {

namespace {

constexpr std::array kFullSizes{16, 22, 24, 32, 48, 64, 128, 256};
constexpr std::array kSixteenColourSizes{32, 64, 128};

QString resourcePath(Picture picture, int size) {
  return QStringLiteral(":/%1/%2.png")
      .arg(picture == Picture::Emblem ? QStringLiteral("emblem") : QStringLiteral("emblem16"))
      .arg(size);
}

template <std::size_t N>
int storedSizeFor(const std::array<int, N>& sizes, int devicePixels) {
  for (int s : sizes)
    if (s >= devicePixels) return s;
  return sizes.back();
}

}  // namespace

QIcon windowEmblem() {
  QIcon icon;
  for (int s : {16, 32, 48, 64, 128}) icon.addFile(resourcePath(Picture::Emblem, s), QSize(s, s));
  return icon;
}

const QPixmap& emblemPixmap(Picture picture, int devicePixels) {
  static std::map<std::pair<Picture, int>, QPixmap> decoded;
  const int size = picture == Picture::Emblem ? storedSizeFor(kFullSizes, devicePixels)
                                              : storedSizeFor(kSixteenColourSizes, devicePixels);
  QPixmap& slot = decoded[{picture, size}];
  if (slot.isNull()) slot.load(resourcePath(picture, size));
  return slot;
}

}  // namespace tirpo
