#include "platform/emblem.h"

namespace tirpo {

QIcon emblemIcon(Picture picture) {
  const bool full = picture == Picture::Emblem;
  const QString folder = full ? QStringLiteral("emblem") : QStringLiteral("emblem16");
  QIcon icon;
  const auto add = [&](int s) { icon.addFile(QStringLiteral(":/%1/%2.png").arg(folder).arg(s), QSize(s, s)); };
  if (full)
    for (int s : {16, 22, 24, 32, 48, 64, 128, 256}) add(s);
  else
    for (int s : {32, 64, 128}) add(s);
  return icon;
}

}  // namespace tirpo
