#include "platform/files/resources.h"

#include <QFile>

namespace platform::files {

std::optional<std::string> ReadResource(std::string_view resourcePath) {
  QFile file(QString::fromUtf8(resourcePath.data(), static_cast<qsizetype>(resourcePath.size())));
  if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
  QByteArray bytes = file.readAll();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace platform::files
