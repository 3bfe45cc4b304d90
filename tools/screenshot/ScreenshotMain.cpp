// Renders the console window offscreen into a PNG, for the README's pictures.
// Usage: tervalon-screenshot <folder with config.xml> <theme> <out.png> [width height]
#include "app/MainFrm.h"
#include "appearance/ThemeManager.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>

namespace {

// Start-up messages go to the terminal: nobody is there to close a box.
class PrintingPresenter : public MessagePresenter {
public:
    void show(Kind, const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s <folder> <theme> <out.png> [width height]\n", argv[0]);
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    PrintingPresenter presenter;
    setMessagePresenter(&presenter);

    TForm_Main form(QString::fromLocal8Bit(argv[1]));
    form.FormCreate();
    try {
        ThemeManager::applyTheme(QString::fromLocal8Bit(argv[2]));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    const int w = argc > 5 ? std::atoi(argv[4]) : 1494;
    const int h = argc > 5 ? std::atoi(argv[5]) : 720;
    if (argc > 6) {
        if (qstrcmp(argv[6], "EN") == 0)
            form.btn_SecondLanguageClick();
        else
            form.btn_FirstLanguageClick();
    }
    form.resize(w, h);
    form.show();
    // Let layouts, the banner and pending paints settle before grabbing.
    QTimer::singleShot(600, &app, [&] {
        const bool ok = form.grab().save(QString::fromLocal8Bit(argv[3]));
        app.exit(ok ? 0 : 1);
    });
    return app.exec();
}
