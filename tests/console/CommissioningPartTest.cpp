// Commissioning driven without the window: the parameter model, the rows' controls and its own
// controls are all it has, the device a scripted line behind the engine. What it must not
// lose on the way off the window: the language it is given, the texts the settings editor
// changes after start, the port closing, and the writes still waiting when it goes.

#include "config/XmlDocument.h"
#include "console/Commissioning.h"
#include "device/DeviceSession.h"
#include "support/TestApp.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

const QHash<qint32, QByteArray> kValues = {{1001, "5"},  {1002, "2"},    {1003, "1"},  {1004, "1"},
                                           {2001, "-3"}, {2002, "1000"}, {2003, "26"}, {2004, "48879"},
                                           {3001, "0"},  {3002, "502"}};

// The example's parameters as rows on tabs, worded in English, and commissioning over them.
struct Part {
    explicit Part(const std::function<void(QByteArray&)>& editConfig = {}) {
        testApp();
        dir.copyExample("config.xml");
        if (editConfig) {
            QByteArray xml = dir.read("config.xml");
            editConfig(xml);
            dir.write("config.xml", xml);
        }
        model.emplace(ParameterModel::fromFile(dir.file("config.xml")));
        window = std::make_unique<QWidget>();
        auto* pages = new QTabWidget(window.get());
        for (const ParameterPage& page : model->pages())
            pages->addTab(new QWidget, page.captions.value("EN", page.caption));
        for (const Parameter* p : model->rows()) {
            QWidget* sheet = pages->widget(p->page);
            RowControls row;
            row.page = p->page;
            row.label = new QLabel(p->captionIn("EN"), sheet);
            if (p->kind == Parameter::Kind::Choice) {
                auto* box = new QComboBox(sheet);
                box->addItems(p->choicesIn("EN"));
                row.value = box;
            } else {
                row.value = new QLineEdit(sheet);
            }
            row.read = new QPushButton(sheet);
            row.write = new QPushButton(sheet);
            rows.insert(p->tag, row);
        }
        CommissioningControls controls;
        for (QPushButton** b :
             {&controls.readPage, &controls.readAll, &controls.cancel, &controls.saveSnapshot,
              &controls.loadSnapshot, &controls.compare, &controls.writeSnapshot})
            *b = new QPushButton(window.get());
        controls.progress = new QProgressBar(window.get());
        controls.pages = pages;
        device.setWriter([this](QByteArrayView bytes) {
            written += bytes.toByteArray();
            return true;
        });
        part = std::make_unique<Commissioning>(device, *model, rows, controls, [this] { return dir.path(); });
        part->setLanguage(Language::english());
    }

    // Answers each read as the device does, from kValues, except the silent addresses.
    void answer(const QSet<qint32>& silent = {}) {
        while (true) {
            const qsizetype end = written.indexOf("#\r\n", answeredUpTo);
            if (end < 0)
                return;
            const QByteArray line = written.mid(answeredUpTo, end - answeredUpTo);
            answeredUpTo = end + 3;
            if (!line.startsWith("$KRDV="))
                continue;
            const qint32 address = line.mid(6).toInt();
            if (!silent.contains(address))
                device.feed("$KRDV," + QByteArray::number(address) + "=" + kValues.value(address) + "\r\n");
        }
    }
    bool readAll(const QSet<qint32>& silent = {}) {
        part->readAllPages();
        return waitFor(
            [&] {
                answer(silent);
                return !part->busy();
            },
            30000);
    }
    QString shown(const QString& tag) const {
        QWidget* field = rows.value(tag).value;
        if (auto* box = qobject_cast<QComboBox*>(field))
            return box->currentText();
        return static_cast<QLineEdit*>(field)->text();
    }

    RecordingPresenter presenter;
    TempAppDir dir;
    std::optional<ParameterModel> model;
    QHash<QString, RowControls> rows;
    std::unique_ptr<QWidget> window;
    DeviceSession device;
    QByteArray written;
    qsizetype answeredUpTo = 0;
    std::unique_ptr<Commissioning> part;
};

TEST(CommissioningPartTest, ReadsAndSavesEveryRowInTheLanguageItIsGiven) {
    Part p;
    ASSERT_TRUE(p.readAll());
    EXPECT_EQ(p.written, "$KRDV=1001#\r\n$KRDV=1002#\r\n$KRDV=1003#\r\n$KRDV=1004#\r\n$KRDV=2001#\r\n"
                         "$KRDV=2002#\r\n$KRDV=2003#\r\n$KRDV=2004#\r\n$KRDV=3001#\r\n$KRDV=3002#\r\n");
    EXPECT_EQ(p.shown("Mode"), "Manual");
    EXPECT_EQ(p.shown("IpMode"), "Static");
    EXPECT_EQ(p.shown("AlarmMask"), "001A");
    EXPECT_EQ(p.part->controls().progress->value(), 10);
    EXPECT_TRUE(p.presenter.messages.isEmpty()) << p.presenter.messages.join('\n').toStdString();

    // Each row's page is named as its tab shows it; values as the device holds them.
    p.presenter.chosenFile = p.dir.file("snap.csv");
    p.part->saveSnapshot();
    const QString csv = QString::fromUtf8(p.dir.read("snap.csv"));
    EXPECT_TRUE(csv.contains("\r\nCalibration,AlarmMask,2003,报警屏蔽字,Alarm mask,26,001A,"))
        << csv.toStdString();
    EXPECT_TRUE(csv.contains("\r\nBasic,Mode,1003,运行模式,Run mode,1,Manual,")) << csv.toStdString();
    EXPECT_EQ(p.presenter.messages.value(0), "10 parameters saved to " + p.dir.file("snap.csv"));
}

// The part keeps the window's model, which the settings editor's changes reach; a copy taken
// at start would show the old texts.
TEST(CommissioningPartTest, ShowsTheChoiceTextsTheSettingsEditorChangedSinceStart) {
    Part p;
    QByteArray xml = p.dir.read("config.xml");
    ASSERT_TRUE(xml.contains("itemsEN=\"Stop|Manual|Auto\""));
    xml.replace("itemsEN=\"Stop|Manual|Auto\"", "itemsEN=\"Halt|By hand|Automatic\"");
    p.dir.write("config.xml", xml);
    XmlDocument edited;
    edited.load(p.dir.file("config.xml"));
    p.model->updateTexts(edited);
    auto* mode = static_cast<QComboBox*>(p.rows.value("Mode").value);
    mode->clear();
    mode->addItems({"Halt", "By hand", "Automatic"});

    ASSERT_TRUE(p.readAll());
    EXPECT_EQ(p.shown("Mode"), "By hand");
}

TEST(CommissioningPartTest, ThePortClosingEndsTheRunAndNothingMoreIsAsked) {
    Part p;
    p.part->readAllPages();
    ASSERT_TRUE(waitFor([&] { return p.written == "$KRDV=1001#\r\n"; }));
    EXPECT_TRUE(p.part->busy());
    p.part->onPortClosed();
    ASSERT_TRUE(waitFor([&] { return !p.part->busy() && p.device.idle(); }, 30000));
    EXPECT_EQ(p.written, "$KRDV=1001#\r\n");
    EXPECT_EQ(p.presenter.messages, QStringList{"Reading cancelled after 0 of 10 parameters"});
    EXPECT_TRUE(p.part->controls().readAll->isEnabled());
    EXPECT_TRUE(p.part->controls().cancel->isHidden());
}

// The window's records go before its parts do: a write still waiting for its answer is
// journalled from what the part kept, without touching them.
TEST(CommissioningPartTest, AWriteStillWaitingWhenThePartGoesIsJournalledWithoutItsRecords) {
    Part p;
    QWidget* field = p.rows.value("DevAddr").value;
    static_cast<QLineEdit*>(field)->setText("9");
    p.part->onWriteSent(field, 1001, "9");
    p.window.reset();
    p.rows.clear();
    p.model.reset();
    p.part.reset();
    const QString journal = QString::fromUtf8(p.dir.read("write-journal.csv"));
    EXPECT_TRUE(journal.endsWith(",1001,Device address,unknown,9,no answer\r\n")) << journal.toStdString();
}

} // namespace
