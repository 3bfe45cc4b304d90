// Load, save and reload of a configuration file. Any input may be refused with an error;
// what loads must save to a file that loads again, and saving that gives the same bytes.

#include "FuzzFiles.h"
#include "config/AppError.h"
#include "config/XmlDocument.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString input = fuzzFile("input.xml", fuzzBytes(data, size));
    const QString first = QDir(fuzzFolder()).filePath("first.xml");
    const QString second = QDir(fuzzFolder()).filePath("second.xml");
    QFile::remove(first);
    QFile::remove(second);

    XmlDocument doc;
    try {
        doc.load(input);
    } catch (const AppError&) {
        return 0;
    }
    doc.prepareForWriting();
    try {
        doc.save(first); // refuses, with an error, what it cannot write faithfully
    } catch (const AppError&) {
        return 0;
    }
    XmlDocument again;
    try {
        again.load(first);
        again.prepareForWriting();
        again.save(second);
    } catch (const AppError& e) {
        std::fprintf(stderr, "a saved file does not load and save again: %s\n", e.what());
        std::abort();
    }
    if (readFuzzFile(first) != readFuzzFile(second)) {
        std::fprintf(stderr, "saving a saved file changed it\n");
        std::abort();
    }
    return 0;
}
