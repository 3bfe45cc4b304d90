#include "appearance/BannerImage.h"

#include <QFile>
#include <cerrno>
#include <csetjmp>
#include <cstdio> // jpeglib.h uses FILE without including it
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <jpeglib.h>

namespace {

// libjpeg reports fatal errors through error_exit, which must not return; it jumps back
// into LoadBannerJpeg instead of ending the process as the library's default does.
struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

[[noreturn]] void jpegErrorExit(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings are corrupt data: a truncated file decodes "successfully" with a grey lower part,
// and a damaged banner is to be reported, not shown half-grey.
void jpegEmitMessage(j_common_ptr cinfo, int level) {
    if (level < 0)
        jpegErrorExit(cinfo);
}

// Caps libjpeg's own working memory (progressive files keep whole-image coefficient buffers).
constexpr long MaxDecoderMemory = 512L * 1024 * 1024;

// The file's bytes, read only from a regular file (a FIFO would block start-up for ever, a
// link to a device could be endless) and never more than the size limit, whatever the file
// claims its size is. Empty with the reason when it cannot be read.
QByteArray readBannerFile(const QString& path, QString* why) {
    const QByteArray name = QFile::encodeName(path);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        *why = QStringLiteral("cannot open %1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return {};
    }
    struct stat st {};
    QByteArray data;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        *why = QStringLiteral("%1 is not a regular file").arg(path);
    } else {
        data.resize(qMin<qint64>(st.st_size, MaxBannerFileBytes) + 1);
        qint64 filled = 0;
        for (;;) {
            if (filled == data.size()) {
                if (data.size() > MaxBannerFileBytes)
                    break;
                data.resize(qMin<qint64>(data.size() * 2, MaxBannerFileBytes + 1));
            }
            const ssize_t n = ::read(fd, data.data() + filled, static_cast<size_t>(data.size() - filled));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                if (n < 0)
                    *why = QStringLiteral("cannot read %1: %2")
                               .arg(path, QString::fromLocal8Bit(std::strerror(errno)));
                break;
            }
            filled += n;
        }
        data.resize(why->isEmpty() ? filled : 0);
        if (data.size() > MaxBannerFileBytes) {
            *why = QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(MaxBannerFileBytes);
            data.clear();
        } else if (data.isEmpty() && why->isEmpty()) {
            *why = QStringLiteral("%1 is empty").arg(path);
        }
    }
    ::close(fd);
    return data;
}

} // namespace

QImage LoadBannerJpeg(const QString& path, QString* error) {
    auto fail = [error](const QString& why) {
        if (error)
            *error = why;
        return QImage();
    };

    QString why;
    const QByteArray data = readBannerFile(path, &why);
    if (data.isEmpty())
        return fail(why);

    jpeg_decompress_struct cinfo{};
    JpegErrorManager manager{};
    cinfo.err = jpeg_std_error(&manager.pub);
    manager.pub.error_exit = jpegErrorExit;
    manager.pub.emit_message = jpegEmitMessage;

    // Declared before setjmp and only assigned afterwards, so the jump skips no destructor.
    QImage image;
    if (setjmp(manager.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return fail(QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(manager.message)));
    }

    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = MaxDecoderMemory;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);

    const qint64 w = cinfo.image_width;
    const qint64 h = cinfo.image_height;
    if (w < 1 || h < 1 || w > MaxBannerSide || h > MaxBannerSide || w * h > MaxBannerPixels) {
        jpeg_destroy_decompress(&cinfo);
        return fail(
            QStringLiteral("%1 declares %2 x %3 pixels, more than a banner can be").arg(path).arg(w).arg(h));
    }

    // Grey pictures are widened to RGB by the library; CMYK ones are refused by it.
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components == 3)
        image = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                       QImage::Format_RGB888);
    if (image.isNull()) {
        jpeg_destroy_decompress(&cinfo);
        return fail(QStringLiteral("%1: cannot hold the decoded picture").arg(path));
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image.scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return image;
}

QString BannerLoadErrorText(const QString& path, Language language) {
    return language.translate("Banner", "Error loading image %1").arg(path);
}
