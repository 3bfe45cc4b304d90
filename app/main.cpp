#include "app/AppIcon.h"
#include "app/CommandLine.h"
#include "app/ConfigLocation.h"
#include "app/MainFrm.h"
#include "ui/ShowingErrors.h"
#include "app/StartTheme.h"
#include "app/TerminationSignals.h"
#include "app/WindowGeometry.h"
#include "config/ConfigFileCheck.h"
#include "language/ControlSettingFrm.h"
#include "ui/MessageBoxes.h"
#include "ui/ScreenPlacement.h"
#include "ui/VersionInfo.h"
#include "ui/WindowTitle.h"

#include <QApplication>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <cstdio>

namespace {

// Arguments after the program name, read before QApplication exists so that --help and
// --version need no display.
QStringList argumentsOf(int argc, char* argv[]) {
    QStringList list;
    for (int i = 1; i < argc; ++i)
        list << QString::fromLocal8Bit(argv[i]);
    return list;
}

// The window opens within the screen's free area and centred on it; maximised afterwards as
// before, so a window manager that does not maximise still shows the whole window.
void placeOnScreen(QWidget& window) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect placed = PlacementOnScreen(window.size(), screen->availableGeometry());
        window.resize(placed.size());
        window.move(placed.topLeft());
    }
}

int run(QApplication& app, const CommandLine& line) {
    // From here on logout, `kill` and Ctrl+C close the window as its close box does.
    TerminationSignals terminations;
    QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopName));
    QApplication::setWindowIcon(ApplicationIcon());
    applyStartTheme();

    const ConfigLocation config = FindConfigFile(DefaultConfigSearch(line.configPath));
    if (!config.besideExecutable)
        SetTitleConfigFile(config.path);
    TForm_Main mainWindow(QCoreApplication::applicationDirPath());
    mainWindow.UseConfigFile(config.path);
    // Said once, by the start-up, together with the places looked in.
    mainWindow.ConfigSearchedPlaces = config.searched;
    mainWindow.ConfigSearchProblem = config.error;
    // Close first (it saves the port settings), then leave every event loop, a message box's
    // too, so that the program ends with success. Connected before the start-up, whose
    // message boxes run event loops: a signal handled there must not be dropped, and one
    // that arrives before the main loop runs ends the program instead of being forgotten.
    bool terminated = false;
    QObject::connect(&terminations, &TerminationSignals::received, &mainWindow, [&mainWindow, &terminated] {
        terminated = true;
        mainWindow.close();
        QCoreApplication::exit(0);
    });
    mainWindow.FormCreate();
    TForm_ControlSetting editor;
    Form_ControlSetting = &editor;
    editor.hide();

    // ~/.config/tervalon/tervalon.conf: this user's on this machine.
    QSettings settings(QStringLiteral("tervalon"), QStringLiteral("tervalon"));
    RememberGeometryOnClose(mainWindow, settings);
    if (!RestoreWindowGeometry(mainWindow, settings)) {
        placeOnScreen(mainWindow);
        mainWindow.showMaximized();
    }
    const int code = terminated ? 0 : app.exec();
    Form_ControlSetting = nullptr;
    return code;
}

} // namespace

int main(int argc, char* argv[]) {
    const CommandLine line = ParseCommandLine(argumentsOf(argc, argv));
    const QString program = QStringLiteral("tervalon");
    switch (line.action) {
    case CommandLine::Action::Help:
        std::fputs(CommandLineUsage(program).toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::printf("%s %s\n", qPrintable(program), qPrintable(GetExeVersionText()));
        return 0;
    case CommandLine::Action::Error:
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", qPrintable(program), qPrintable(line.error),
                     qPrintable(program));
        return kCommandLineErrorExit;
    case CommandLine::Action::Run:
        break;
    }
    // A file named on the command line that cannot be used is a mistake in the command, told
    // where it was typed, before any window opens.
    if (!line.configPath.isEmpty()) {
        const ConfigFileCheck check = CheckConfigFile(QFileInfo(line.configPath).absoluteFilePath());
        if (!check.usable()) {
            std::fprintf(stderr, "%s: %s\n", qPrintable(program), check.oneLine().toLocal8Bit().constData());
            return kCommandLineErrorExit;
        }
    }

    QApplication app(argc, argv);
    // Nothing thrown on the way ends the program with an abort: it is shown, and the program
    // ends normally with a failure code.
    int code = 1;
    runShowingErrors([&] { code = run(app, line); });
    Form_ControlSetting = nullptr;
    return code;
}
