#include "appearance/BannerImage.h"
#include "appearance/WaterImage.h"
#include "support/TestApp.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>

#include <jpeglib.h>

namespace {

// A real JPEG made with the same library, so the tests need no sample files.
QByteArray encodeJpeg(int w, int h, bool grey) {
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr err{};
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = w;
    cinfo.image_height = h;
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 95, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<unsigned char> row(static_cast<std::size_t>(w) * cinfo.input_components);
    while (cinfo.next_scanline < cinfo.image_height) {
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < cinfo.input_components; ++c)
                row[x * cinfo.input_components + c] = static_cast<unsigned char>(c == 0 ? 200 : 40);
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    QByteArray bytes(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return bytes;
}

QString writeFile(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    const QString path = dir.filePath(QString::fromLatin1(name));
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return path;
}

// Rewrites the frame header's declared size without touching the compressed data.
QByteArray withDeclaredSize(QByteArray jpeg, int w, int h) {
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    jpeg[sof + 5] = static_cast<char>(h >> 8);
    jpeg[sof + 6] = static_cast<char>(h & 0xFF);
    jpeg[sof + 7] = static_cast<char>(w >> 8);
    jpeg[sof + 8] = static_cast<char>(w & 0xFF);
    return jpeg;
}

} // namespace

TEST(BannerImage, DecodesColourAndGreyPictures) {
    QTemporaryDir dir;
    QString error;
    const QImage colour = LoadBannerJpeg(writeFile(dir, "c.jpg", encodeJpeg(48, 20, false)), &error);
    ASSERT_FALSE(colour.isNull()) << error.toStdString();
    EXPECT_EQ(colour.size(), QSize(48, 20));
    EXPECT_NEAR(qRed(colour.pixel(10, 10)), 200, 8);
    EXPECT_NEAR(qBlue(colour.pixel(10, 10)), 40, 8);

    const QImage grey = LoadBannerJpeg(writeFile(dir, "g.jpg", encodeJpeg(16, 16, true)), &error);
    ASSERT_FALSE(grey.isNull()) << error.toStdString();
    EXPECT_EQ(qRed(grey.pixel(3, 3)), qBlue(grey.pixel(3, 3)));
}

TEST(BannerImage, DamagedFilesAreLoadFailuresNotCrashes) {
    QTemporaryDir dir;
    const QByteArray good = encodeJpeg(64, 48, false);
    const struct {
        const char* name;
        QByteArray bytes;
    } damaged[] = {
        {"truncated.jpg", good.left(good.size() / 2)},
        {"header-only.jpg", good.left(20)},
        {"empty.jpg", QByteArray()},
        {"text.jpg", QByteArray("this is no picture")},
        {"huge.jpg", withDeclaredSize(good, 60000, 60000)},
        {"zero.jpg", withDeclaredSize(good, 0, 48)},
        {"lying.jpg", withDeclaredSize(good, 64, 4000)}, // more rows declared than the data holds
    };
    for (const auto& file : damaged) {
        QString error;
        EXPECT_TRUE(LoadBannerJpeg(writeFile(dir, file.name, file.bytes), &error).isNull()) << file.name;
        EXPECT_FALSE(error.isEmpty()) << file.name;
    }
    QString error;
    EXPECT_TRUE(LoadBannerJpeg(dir.filePath("missing.jpg"), &error).isNull());
    EXPECT_FALSE(error.isEmpty());
}

TEST(BannerImage, OnlyARegularFileIsReadAndNeverMoreThanTheLimit) {
    QTemporaryDir dir;
    // A FIFO nobody writes to would block an ordinary open for ever; a link to an endless
    // device would be read until memory ran out.
    const QString fifo = dir.filePath("fifo.jpg");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString endless = dir.filePath("endless.jpg");
    ASSERT_TRUE(QFile::link("/dev/zero", endless));
    for (const QString& path : {fifo, endless, dir.path()}) {
        QString error;
        EXPECT_TRUE(LoadBannerJpeg(path, &error).isNull());
        EXPECT_TRUE(error.contains("not a regular file")) << error.toStdString();
    }

    // A sparse file larger than the limit costs no disk and is refused by what is read.
    const QString large = dir.filePath("large.jpg");
    {
        QFile f(large);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(encodeJpeg(8, 8, false));
        ASSERT_TRUE(f.resize(MaxBannerFileBytes + 1));
    }
    QString error;
    EXPECT_TRUE(LoadBannerJpeg(large, &error).isNull());
    EXPECT_TRUE(error.contains("larger than")) << error.toStdString();

    // A good picture reached through a link is still a picture.
    const QString good = writeFile(dir, "good.jpg", encodeJpeg(16, 8, false));
    const QString linked = dir.filePath("linked.jpg");
    ASSERT_TRUE(QFile::link(good, linked));
    EXPECT_EQ(LoadBannerJpeg(linked).size(), QSize(16, 8));
}

TEST(BannerImage, FailedLoadLeavesTheBannerWithoutPicture) {
    testApp();
    QTemporaryDir dir;
    TWaterImage image;
    const QByteArray good = encodeJpeg(30, 10, false);
    EXPECT_FALSE(image.LoadPictureFromFile(writeFile(dir, "bad.jpg", good.left(good.size() - 40))));
    EXPECT_TRUE(image.Picture().isNull());
    EXPECT_TRUE(image.LoadPictureFromFile(writeFile(dir, "good.jpg", good)));
    EXPECT_EQ(image.Picture().size(), QSize(30, 10));

    EXPECT_EQ(BannerLoadErrorText("/opt/t/banner.jpg", Language::chinese()),
              QStringLiteral("加载图片/opt/t/banner.jpg时发生错误"));
    EXPECT_EQ(BannerLoadErrorText("/opt/t/banner.jpg", Language::english()),
              QStringLiteral("Error loading image /opt/t/banner.jpg"));
}
