// The banner loader over any file content: a picture or an error, never a crash.

#include "FuzzFiles.h"
#include "appearance/BannerImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    QString error;
    const QImage image = LoadBannerJpeg(fuzzFile("banner.jpg", fuzzBytes(data, size)), &error);
    if (image.isNull() == error.isEmpty())
        std::abort();
    return 0;
}
