// libFuzzer entry for the picture decoders. The first byte picks the decoder,
// the rest is its input. A decoder may refuse the input with TPictureError;
// anything else (a crash, a sanitizer report, another exception) is a fault.
#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "assets/ArgbCodec.h"
#include "assets/BmpCodec.h"
#include "assets/IcoCodec.h"
#include "assets/IconListCodec.h"
#include "assets/JpegCodec.h"
#include "assets/PictureError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace zerud;
  if (size < 1) return 0;
  const QByteArray input(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
  const QString name = QStringLiteral("fuzz");
  try {
    switch (data[0] % 6) {
      case 0:
        DecodeJpeg(input, name);
        break;
      case 1:
        DecodeLengthPrefixedBmp(input, name);
        break;
      case 2:
        DecodeBmp(input, name);
        break;
      case 3:
        DecodeArgb(input, name);
        break;
      case 4:
        DecodeIco(input, name);
        break;
      default:
        DecodeIconList(input, name);
        break;
    }
  } catch (const TPictureError&) {
  }
  return 0;
}
