#pragma once

#include "app/MainFrm.h"
#include "config/AppError.h"
#include "config/TextScrambler.h"
#include "console/Sending.h"
#include "support/TestApp.h"

#include <QString>
#include <memory>

// A configuration assembled from its sections; tests replace the ones they are about.
struct TestConfig {
    QString appName = QStringLiteral("Tester");
    QString web1 = ScrambleText(QStringLiteral("https://example.com/a"), web1ScrambleKey);
    QString web2 = ScrambleText(QStringLiteral("https://example.com/b"), web2ScrambleKey);
    QString skin = QStringLiteral("<SKIN SkinFile=\"Windows\"/>");
    QString comm =
        QStringLiteral("<COMM Port=\"COM3\" Baud=\"115200\" Parity=\"E\" ByteSize=\"7\" StopBits=\"2\"/>");
    QString cmds = QStringLiteral("<CMDS showButton=\"0\" caption=\"Run\"/>");
    QString node = QStringLiteral("<NODE node1=\"n1\" node2=\"n2\" node3=\"n3\"/>");
    QString language =
        QStringLiteral("<LANGUAGE value=\"CN\"><COMPONETS><GROUPBOX/><TABSHEET/><BUTTON/><LABEL/>"
                       "<EDIT/><COMBOBOX/><CHECKBOX/></COMPONETS><MESSAGES/></LANGUAGE>");
    QString dync = QStringLiteral("<GROUP_DYNC/>");
    QString fix = QStringLiteral("<GROUP_FIX/>");
    QString autoRead = QStringLiteral("<GROUP_AUTO/>");

    QByteArray xml() const {
        return (QStringLiteral(
                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<TERVALON appName=\"%1\" web1=\"%2\" "
                    "web2=\"%3\">")
                    .arg(appName, web1, web2) +
                skin + comm + cmds + node + language + dync + fix + autoRead +
                QStringLiteral("</TERVALON>\n"))
            .toUtf8();
    }
};

// A main window over a temporary folder holding the given configuration.
struct TestWindow {
    explicit TestWindow(const TestConfig& config) : TestWindow(config.xml()) {}
    explicit TestWindow(const QByteArray& xml) {
        testApp();
        dir.write(QStringLiteral("config.xml"), xml);
        form = std::make_unique<TForm_Main>(dir.path());
    }

    // Loads the configuration and builds the pages; the error text when the build stopped.
    QString build() {
        try {
            form->ConfigDocument = std::make_unique<XmlDocument>();
            form->ConfigDocument->load(form->ConfigPath);
            form->LoadConfiguration();
        } catch (const AppError& e) {
            return e.text();
        }
        return {};
    }

    template <class T = QWidget> T* find(const QString& name) const {
        return qobject_cast<T*>(form->FindComponent(name));
    }

    RecordingPresenter presenter;
    TempAppDir dir;
    std::unique_ptr<TForm_Main> form;
};
