#pragma once

// The window's commissioning against the simulated device: the bundled example with a given
// read time-out, the device with known values, the window connected to it. Shared by the
// commissioning tests of the window.

#include "DeviceLine.h"
#include "app/MainFrm.h"
#include "comm/SerialComm.h"
#include "console/Commissioning.h"
#include "support/TestApp.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

struct CommissioningBench {
    using Values = QHash<qint32, QString>;

    // The device's values of the example's parameters, each one the rows show differently
    // from how the device holds it where they can (choices, hexadecimal).
    static Values knownValues() {
        return {{1001, "5"},    {1002, "2"},  {1003, "1"},     {1004, "1"}, {2001, "-3"},
                {2002, "1000"}, {2003, "26"}, {2004, "48879"}, {3001, "0"}, {3002, "502"}};
    }

    struct Setup {
        int timeoutMs = 1000;
        Values values = knownValues();
        QSet<qint32> silent;
        QSet<qint32> ignoredWrites;
        QHash<qint32, qint64> lateMs;
        // Changes the example's text before the window reads it.
        std::function<void(QByteArray&)> editConfig;
    };

    explicit CommissioningBench(const Setup& s) {
        testApp();
        dir.copyExample("config.xml");
        QByteArray xml = dir.read("config.xml");
        xml.replace("readTimeoutMs=\"1000\"", "readTimeoutMs=\"" + QByteArray::number(s.timeoutMs) + "\"");
        if (s.editConfig)
            s.editConfig(xml);
        dir.write("config.xml", xml);
        SimulatedDevice::Setup setup = LoadSimulatorSetup(dir.file("config.xml"));
        setup.textValues = s.values;
        setup.silentAddresses = s.silent;
        setup.ignoredWriteAddresses = s.ignoredWrites;
        setup.replyDelayMs = s.lateMs;
        line.emplace(setup);
        form = std::make_unique<TForm_Main>(dir.path());
        form->FormCreate();
        form->cbb_Port->setCurrentText(line->portPath());
        form->btn_Connect->click();
        cms = form->commissioning;
    }
    ~CommissioningBench() { form->Comm1->StopComm(); }

    template <class T = QWidget> T* find(const QString& name) const {
        return qobject_cast<T*>(form->FindComponent(name));
    }
    // The text a row's field shows, by the row's tag.
    QString text(const QString& tag) const {
        if (auto* edit = find<QLineEdit>("edt_" + tag))
            return edit->text();
        return find<QComboBox>("cbb_" + tag)->currentText();
    }
    // Clicks and waits until the run has ended.
    bool run(const QString& button) {
        find<QPushButton>(button)->click();
        return waitFor([&] { return !cms->busy(); }, 60000);
    }
    QString lastMessage() const { return presenter.messages.value(presenter.messages.size() - 1); }

    RecordingPresenter presenter;
    TempAppDir dir;
    std::optional<DeviceLine> line;
    std::unique_ptr<TForm_Main> form;
    Commissioning* cms = nullptr;
};
