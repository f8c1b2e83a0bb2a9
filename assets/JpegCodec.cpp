#include "assets/JpegCodec.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <memory>

// jpeglib.h needs FILE and size_t declared before it.
#include <jerror.h>
#include <jpeglib.h>

#include "assets/PictureError.h"

namespace zerud {

namespace {

// A progressive file may hold any number of scans, each one a full pass over
// the picture; real files have a dozen at most.
constexpr int kMaxScans = 500;

// libjpeg calls error_exit on a fatal error and expects it never to return.
// Ours jumps back to the function that started the work, which then throws.
struct TJpegErrors {
  jpeg_error_mgr pub;  // first member: libjpeg sees only this part
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool tooManyScans;
};

[[noreturn]] void OnFatalError(j_common_ptr cinfo) {
  auto* errors = reinterpret_cast<TJpegErrors*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, errors->message);
  std::longjmp(errors->jump, 1);
}

// Warnings (level -1) mostly report damaged data such as a premature end of
// file; libjpeg would go on with grey rows, we refuse the picture instead.
// A few only describe harmless oddities of the headers and are let through.
void OnMessage(j_common_ptr cinfo, int level) {
  if (level >= 0) return;
  switch (cinfo->err->msg_code) {
    case JWRN_ADOBE_XFORM:
    case JWRN_JFIF_MAJOR:
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_BOGUS_ICC:
      return;
    default:
      OnFatalError(cinfo);
  }
}

void OnProgress(j_common_ptr cinfo) {
  if (cinfo->is_decompressor) {
    auto* dinfo = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (dinfo->input_scan_number > kMaxScans) {
      reinterpret_cast<TJpegErrors*>(cinfo->err)->tooManyScans = true;
      OnFatalError(cinfo);
    }
  }
}

void InstallErrors(TJpegErrors& errors) {
  jpeg_std_error(&errors.pub);
  errors.pub.error_exit = OnFatalError;
  errors.pub.emit_message = OnMessage;
  errors.message[0] = '\0';
  errors.tooManyScans = false;
}

struct TDecodeJob {
  jpeg_decompress_struct cinfo{};
  TJpegErrors errors{};
  jpeg_progress_mgr progress{};
  QImage image;
  QString refusal;  // our own reason to stop, when libjpeg found no fault
};

// Runs libjpeg between setjmp and any longjmp. Only C frames lie between the
// two, and every C++ object touched here lives in the job, outside this frame,
// so the jump skips no destructor.
bool RunDecoder(TDecodeJob& job, const QByteArray& bytes) {
  if (setjmp(job.errors.jump)) return false;
  jpeg_create_decompress(&job.cinfo);
  job.progress.progress_monitor = OnProgress;
  job.cinfo.progress = &job.progress;
  jpeg_mem_src(&job.cinfo, reinterpret_cast<const unsigned char*>(bytes.constData()),
               static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&job.cinfo, TRUE);
  const qint64 width = job.cinfo.image_width;
  const qint64 height = job.cinfo.image_height;
  if (!PictureSizeAcceptable(width, height)) {
    job.refusal = SizeRefusal(width, height);
    return false;
  }
  job.cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&job.cinfo);
  if (job.cinfo.output_components != 3) {
    job.refusal = QStringLiteral("espace de couleurs non pris en charge");
    return false;
  }
  job.image = QImage(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB888);
  if (job.image.isNull()) {
    job.refusal = QStringLiteral("mémoire insuffisante");
    return false;
  }
  while (job.cinfo.output_scanline < job.cinfo.output_height) {
    JSAMPROW row = job.image.scanLine(static_cast<int>(job.cinfo.output_scanline));
    jpeg_read_scanlines(&job.cinfo, &row, 1);
  }
  jpeg_finish_decompress(&job.cinfo);
  return true;
}

QString DescribeFailure(const TDecodeJob& job) {
  if (!job.refusal.isEmpty()) return job.refusal;
  if (job.errors.tooManyScans) return QStringLiteral("trop de passes dans l'image progressive");
  switch (job.errors.pub.msg_code) {
    case JERR_INPUT_EMPTY:
      return QStringLiteral("fichier vide");
    case JERR_NO_SOI:
      return QStringLiteral("ce n'est pas un fichier JPEG");
    case JWRN_JPEG_EOF:
    case JERR_INPUT_EOF:
      return QStringLiteral("fichier tronqué");
    default:
      return QStringLiteral("données JPEG incorrectes (%1)")
          .arg(QString::fromLatin1(job.errors.message));
  }
}

struct TEncodeJob {
  jpeg_compress_struct cinfo{};
  TJpegErrors errors{};
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
};

bool RunEncoder(TEncodeJob& job, const QImage& rgb, int quality,
                const QList<QByteArray>& comments) {
  if (setjmp(job.errors.jump)) return false;
  jpeg_create_compress(&job.cinfo);
  jpeg_mem_dest(&job.cinfo, &job.buffer, &job.size);
  job.cinfo.image_width = static_cast<JDIMENSION>(rgb.width());
  job.cinfo.image_height = static_cast<JDIMENSION>(rgb.height());
  job.cinfo.input_components = 3;
  job.cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&job.cinfo);
  jpeg_set_quality(&job.cinfo, quality, TRUE);
  // Full-resolution colour: the pictures carry small coloured lettering that
  // halved chroma would blur.
  job.cinfo.comp_info[0].h_samp_factor = 1;
  job.cinfo.comp_info[0].v_samp_factor = 1;
  job.cinfo.optimize_coding = TRUE;
  job.cinfo.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&job.cinfo, TRUE);
  for (const QByteArray& comment : comments) {
    jpeg_write_marker(&job.cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>(comment.constData()),
                      static_cast<unsigned int>(comment.size()));
  }
  while (job.cinfo.next_scanline < job.cinfo.image_height) {
    JSAMPROW row = const_cast<uchar*>(rgb.constScanLine(static_cast<int>(job.cinfo.next_scanline)));
    jpeg_write_scanlines(&job.cinfo, &row, 1);
  }
  jpeg_finish_compress(&job.cinfo);
  return true;
}

}  // namespace

QImage DecodeJpeg(const QByteArray& bytes, const QString& name) {
  auto job = std::make_unique<TDecodeJob>();
  job->cinfo.err = &job->errors.pub;
  InstallErrors(job->errors);
  const bool decoded = RunDecoder(*job, bytes);
  jpeg_destroy_decompress(&job->cinfo);
  if (!decoded) throw TPictureError(name, DescribeFailure(*job));
  return job->image.convertToFormat(QImage::Format_RGB32);
}

QByteArray EncodeJpeg(const QImage& image, int quality, const QList<QByteArray>& comments) {
  for (const QByteArray& comment : comments) {
    if (comment.size() > kMaxJpegCommentBytes) {
      throw TPictureError(QStringLiteral("JPEG"), QStringLiteral("commentaire trop long"));
    }
  }
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  auto job = std::make_unique<TEncodeJob>();
  job->cinfo.err = &job->errors.pub;
  InstallErrors(job->errors);
  const bool encoded = RunEncoder(*job, rgb, quality, comments);
  jpeg_destroy_compress(&job->cinfo);
  QByteArray out;
  if (encoded) out = QByteArray(reinterpret_cast<const char*>(job->buffer), qsizetype(job->size));
  std::free(job->buffer);
  if (!encoded) {
    throw TPictureError(QStringLiteral("JPEG"), QString::fromLatin1(job->errors.message));
  }
  return out;
}

}  // namespace zerud
