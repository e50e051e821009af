// vivizu-art-pack OUTPUT.cpp ROOT PNG...
// Writes the C++ source of the packed pictures (resources/ArtPack.h): each
// PNG read, turned into premultiplied ARGB as a window would paint it, and
// folded into runs. A picture is named by its path under ROOT without
// ".png". Run by the build; the PNG files stay the pictures' source.
#include "resources/ArtRuns.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QSaveFile>
#include <QString>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Picture {
  std::string Name;
  int Width = 0;
  int Height = 0;
  bool Opaque = false;
  std::vector<std::uint32_t> Words;
};

bool Load(const QString& root, const QString& path, Picture& picture) {
  QImageReader reader(path, "png");
  reader.setAutoDetectImageFormat(false);
  QImage image = reader.read();
  if (image.isNull()) {
    std::fprintf(stderr, "vivizu-art-pack: %s: %s\n", qPrintable(path),
                 qPrintable(reader.errorString()));
    return false;
  }
  // The format QPixmap::fromImage gives a 32-bit picture: premultiplied
  // ARGB, or RGB32 when no pixel is transparent. The words are the same;
  // RGB32 only promises that every alpha is 255.
  image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  picture.Opaque = true;
  for (int y = 0; y < image.height() && picture.Opaque; ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      if (qAlpha(line[x]) != 255) {
        picture.Opaque = false;
        break;
      }
    }
  }
  QString name = QDir(root).relativeFilePath(path);
  name.chop(4);  // ".png"
  picture.Name = name.toStdString();
  picture.Width = image.width();
  picture.Height = image.height();
  picture.Words = vivizu::PackRuns(reinterpret_cast<const std::uint32_t*>(image.constBits()),
                                   static_cast<std::size_t>(image.width()) * image.height());
  return true;
}

QByteArray Source(const std::vector<Picture>& pictures) {
  QByteArray out;
  out += "// Written by vivizu-art-pack from resources/png; not to be edited.\n"
         "#include \"resources/ArtPack.h\"\n\n#include <iterator>\n\nnamespace vivizu {\n\nnamespace {\n";
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    out += "constexpr std::uint32_t kWords" + QByteArray::number(qulonglong(i)) + "[] = {";
    const auto& words = pictures[i].Words;
    for (std::size_t w = 0; w < words.size(); ++w) {
      out += (w % 8 == 0) ? "\n    " : " ";
      out += "0x" + QByteArray::number(words[w], 16) + "u,";
    }
    out += "\n};\n";
  }
  out += "}  // namespace\n\nextern const TPackedPicture kPackedPictures[] = {\n";
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    const QByteArray n = QByteArray::number(qulonglong(i));
    out += "    {\"" + QByteArray::fromStdString(pictures[i].Name) + "\", " +
           QByteArray::number(pictures[i].Width) + ", " + QByteArray::number(pictures[i].Height) +
           (pictures[i].Opaque ? ", true" : ", false") + ", kWords" + n + ", std::size(kWords" + n + ")},\n";
  }
  out += "};\nextern const std::size_t kPackedPictureCount = " +
         QByteArray::number(qulonglong(pictures.size())) + ";\n\n}  // namespace vivizu\n";
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: vivizu-art-pack OUTPUT.cpp ROOT PNG...\n");
    return 2;
  }
  const QString root = QFile::decodeName(argv[2]);
  std::vector<Picture> pictures;
  for (int i = 3; i < argc; ++i) {
    Picture picture;
    if (!Load(root, QFile::decodeName(argv[i]), picture)) return 1;
    pictures.push_back(std::move(picture));
  }
  // Sorted, so that the program finds a picture by binary search.
  std::sort(pictures.begin(), pictures.end(),
            [](const Picture& a, const Picture& b) { return a.Name < b.Name; });
  QSaveFile file(QFile::decodeName(argv[1]));
  if (!file.open(QIODevice::WriteOnly) || file.write(Source(pictures)) < 0 || !file.commit()) {
    std::fprintf(stderr, "vivizu-art-pack: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
