// tervalon-cli against the simulated device over a pseudo-terminal: what goes on the wire,
// what it prints for scripts, the snapshot and journal files and its exit statuses.

#include "CliDevice.h"
#include "console/protocol/SnapshotCsv.h"
#include "console/protocol/WriteJournal.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <gtest/gtest.h>
#include <pty.h>
#include <thread>
#include <unistd.h>

namespace {

const QByteArray kReadAllBytes = "$KRDV=1001#\r\n$KRDV=1002#\r\n$KRDV=1003#\r\n$KRDV=1004#\r\n"
                                 "$KRDV=2001#\r\n$KRDV=2002#\r\n$KRDV=2003#\r\n$KRDV=2004#\r\n"
                                 "$KRDV=3001#\r\n$KRDV=3002#\r\n";

QString text(const QByteArray& bytes) {
    return QString::fromUtf8(bytes);
}

QList<int> addressesOf(const QJsonArray& list) {
    QList<int> addresses;
    for (const QJsonValue& v : list)
        addresses << v.toObject().value("address").toInt();
    return addresses;
}

QJsonObject parameterAt(const QJsonObject& read, int address) {
    for (const QJsonValue& v : read.value("parameters").toArray())
        if (v.toObject().value("address").toInt() == address)
            return v.toObject();
    return {};
}

// A snapshot file with one parameter's device value changed.
QByteArray withValue(const QByteArray& csv, const QString& address, const QString& value) {
    SnapshotParse parsed = SnapshotFromCsv(csv);
    for (SnapshotRow& row : parsed.rows)
        if (row.address == address)
            row.deviceValue = value;
    return SnapshotToCsv(parsed.rows);
}

TEST(CliWireTest, ReadReadsEveryParameterInPageOrderAndSavesASnapshot) {
    CliDevice cli;
    DeviceLine& line = cli.start();
    const CliResult r = cli.run({"read", "--out", cli.dir.file("ref.csv"), "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(line.wire(), kReadAllBytes) << "one read at a time, separators passed over";
    const QJsonObject read = r.json();
    EXPECT_EQ(read.value("parameters").toArray().size(), 10);
    EXPECT_TRUE(read.value("silent").toArray().isEmpty());
    EXPECT_EQ(parameterAt(read, 1002).value("shown").toString(), "38400");
    EXPECT_EQ(parameterAt(read, 1002).value("value").toString(), "2");
    EXPECT_EQ(parameterAt(read, 2004).value("shown").toString(), "BEEF");
    EXPECT_EQ(parameterAt(read, 2004).value("value").toString(), "48879");

    const SnapshotParse saved = SnapshotFromCsv(cli.dir.read("ref.csv"));
    ASSERT_TRUE(saved.ok());
    ASSERT_EQ(saved.rows.size(), 10);
    EXPECT_EQ(saved.rows[2].page, "基本参数");
    EXPECT_EQ(saved.rows[2].tag, "Mode");
    EXPECT_EQ(saved.rows[2].captionCN, "运行模式");
    EXPECT_EQ(saved.rows[2].captionEN, "Run mode");
    EXPECT_EQ(saved.rows[2].deviceValue, "1");
    EXPECT_EQ(saved.rows[2].shownText, "手动");
    EXPECT_FALSE(saved.rows[2].timeRead.isEmpty());
}

TEST(CliWireTest, ReadOfChosenPagesAsksOnlyForTheirParameters) {
    CliDevice cli;
    DeviceLine& line = cli.start();
    const CliResult r = cli.run({"read", "--page", "Network", "--page", "基本参数", "--lang", "en"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(line.wire(), "$KRDV=1001#\r\n$KRDV=1002#\r\n$KRDV=1003#\r\n$KRDV=1004#\r\n"
                           "$KRDV=3001#\r\n$KRDV=3002#\r\n")
        << "in page order, whatever order they were named in";
    EXPECT_TRUE(text(r.out).contains("Static")) << r.out.constData();
}

TEST(CliWireTest, ASilentAddressIsListedAndTheRestIsRead) {
    CliDevice cli(300);
    SimulatedDevice::Setup setup = ExampleDevice(cli.configPath());
    setup.silentAddresses = {2002};
    cli.start(setup);
    const CliResult r = cli.run({"read", "--json", "--out", cli.dir.file("ref.csv")});
    EXPECT_EQ(r.exitCode, 1) << "a time-out is a device problem";
    const QJsonObject read = r.json();
    EXPECT_EQ(addressesOf(read.value("silent").toArray()), QList<int>{2002});
    EXPECT_FALSE(parameterAt(read, 2002).value("answered").toBool());
    EXPECT_EQ(parameterAt(read, 2003).value("value").toString(), "26");
    const SnapshotParse saved = SnapshotFromCsv(cli.dir.read("ref.csv"));
    ASSERT_EQ(saved.rows.size(), 10);
    EXPECT_TRUE(saved.rows[5].deviceValue.isEmpty()) << "no value is claimed for what did not answer";
    EXPECT_TRUE(saved.rows[5].timeRead.isEmpty());

    const CliResult table = cli.run({"read", "--lang", "en"});
    EXPECT_EQ(table.exitCode, 1);
    EXPECT_TRUE(text(table.out).endsWith("1 parameter did not answer:\n2002  Span\n"))
        << table.out.constData();
}

TEST(CliWireTest, ALateReplyNeverFillsTheNextParameter) {
    CliDevice cli(1000);
    SimulatedDevice::Setup setup = ExampleDevice(cli.configPath());
    setup.replyDelayMs = {{1001, 1500}};
    DeviceLine& line = cli.start(setup);
    const CliResult r = cli.run({"read", "--page", "Basic", "--json"});
    EXPECT_EQ(r.exitCode, 1);
    const QJsonObject read = r.json();
    EXPECT_EQ(addressesOf(read.value("silent").toArray()), QList<int>{1001});
    EXPECT_EQ(parameterAt(read, 1002).value("value").toString(), "2") << "1001's value is 5";
    EXPECT_EQ(parameterAt(read, 1003).value("value").toString(), "1");
    EXPECT_EQ(parameterAt(read, 1004).value("value").toString(), "1");
    EXPECT_EQ(line.wire(), "$KRDV=1001#\r\n$KRDV=1002#\r\n$KRDV=1003#\r\n$KRDV=1004#\r\n");
}

TEST(CliWireTest, CompareListsExactlyTheChangedParametersAsShownAndAsSent) {
    CliDevice cli;
    cli.start();
    ASSERT_EQ(cli.run({"read", "--out", cli.dir.file("ref.csv")}).exitCode, 0);
    EXPECT_EQ(cli.run({"compare", cli.dir.file("ref.csv")}).exitCode, 0) << "the device as it was read";

    const CliResult a = cli.run({"send", "$KWRV=1003,2#"});
    EXPECT_EQ(a.exitCode, 0);
    EXPECT_EQ(a.out, "OK KWRV,1003\n");
    ASSERT_EQ(cli.run({"send", "$KWRV=2004,255#"}).exitCode, 0);

    const CliResult r = cli.run({"compare", cli.dir.file("ref.csv"), "--json"});
    EXPECT_EQ(r.exitCode, 1) << "a difference";
    const QJsonArray diffs = r.json().value("differences").toArray();
    ASSERT_EQ(addressesOf(diffs), (QList<int>{1003, 2004}));
    const QJsonObject mode = diffs[0].toObject();
    EXPECT_EQ(mode.value("snapshot").toObject().value("shown").toString(), "手动");
    EXPECT_EQ(mode.value("snapshot").toObject().value("value").toString(), "1");
    EXPECT_EQ(mode.value("device").toObject().value("shown").toString(), "自动");
    EXPECT_EQ(mode.value("device").toObject().value("value").toString(), "2");
    const QJsonObject serial = diffs[1].toObject();
    EXPECT_EQ(serial.value("snapshot").toObject().value("shown").toString(), "BEEF");
    EXPECT_EQ(serial.value("device").toObject().value("shown").toString(), "00FF");
    EXPECT_EQ(serial.value("device").toObject().value("value").toString(), "255");

    const CliResult table = cli.run({"compare", cli.dir.file("ref.csv"), "--lang", "en"});
    EXPECT_EQ(table.exitCode, 1);
    EXPECT_TRUE(text(table.out).startsWith("2 parameters differ from the snapshot:\n"))
        << table.out.constData();
    EXPECT_TRUE(
        QRegularExpression("2004 +Serial number +BEEF +48879 +00FF +255\n").match(text(table.out)).hasMatch())
        << table.out.constData();
}

TEST(CliWireTest, SnapshotRowsThatFitNoParameterAreNamedAndNotTakenForAMatch) {
    CliDevice cli;
    cli.start();
    ASSERT_EQ(cli.run({"read", "--out", cli.dir.file("ref.csv")}).exitCode, 0);
    SnapshotParse parsed = SnapshotFromCsv(cli.dir.read("ref.csv"));
    parsed.rows[3].address = "1005"; // Power moved to another address
    cli.dir.write("moved.csv", SnapshotToCsv(parsed.rows));
    const CliResult r = cli.run({"compare", cli.dir.file("moved.csv"), "--json", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.json().value("differences").toArray().isEmpty());
    const QJsonArray unplaced = r.json().value("unplaced").toArray();
    ASSERT_EQ(unplaced.size(), 1);
    EXPECT_EQ(unplaced[0].toObject().value("tag").toString(), "Power");
    EXPECT_TRUE(r.err.contains("1 snapshot row matches no parameter")) << r.err.constData();
    EXPECT_EQ(cli.run({"write", cli.dir.file("moved.csv"), "--yes"}).exitCode, 1);
}

TEST(CliWireTest, WriteRestoresOnlyWhatDiffersVerifiesItAndJournalsEachWrite) {
    CliDevice cli;
    DeviceLine& line = cli.start();
    ASSERT_EQ(cli.run({"read", "--out", cli.dir.file("ref.csv")}).exitCode, 0);
    ASSERT_EQ(cli.run({"send", "$KWRV=1003,2#"}).exitCode, 0);
    ASSERT_EQ(cli.run({"send", "$KWRV=2004,255#"}).exitCode, 0);
    line.clearWire();

    const CliResult r = cli.run({"write", cli.dir.file("ref.csv"), "--yes", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData() << r.out.constData();
    EXPECT_EQ(addressesOf(r.json().value("verified").toArray()), (QList<int>{1003, 2004}));
    EXPECT_TRUE(r.json().value("failed").toArray().isEmpty());
    EXPECT_EQ(line.wire(),
              kReadAllBytes + "$KWRV=1003,1#\r\n$KRDV=1003#\r\n$KWRV=2004,48879#\r\n$KRDV=2004#\r\n")
        << "each write is read back before the next";
    EXPECT_EQ(cli.run({"compare", cli.dir.file("ref.csv")}).exitCode, 0);

    const QList<QByteArray> journal = cli.dir.read("write-journal.csv").split('\n');
    ASSERT_EQ(journal.size(), 4) << "header, two entries, the end";
    EXPECT_EQ(journal[0] + '\n', WriteJournal::headerLine().toUtf8());
    EXPECT_TRUE(journal[1].endsWith("," + line.portPath().toUtf8() + ",1003,运行模式,2,1,\"OK KWRV,1003\"\r"))
        << journal[1].constData();
    EXPECT_TRUE(journal[2].contains(",2004,序列号,255,48879,")) << journal[2].constData();

    line.clearWire();
    const CliResult again = cli.run({"write", cli.dir.file("ref.csv"), "--yes"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(line.wire(), kReadAllBytes) << "nothing differs, nothing is written";
}

TEST(CliWireTest, AWriteTheDeviceIgnoresFailsAndIsNamed) {
    CliDevice cli;
    SimulatedDevice::Setup setup = ExampleDevice(cli.configPath());
    setup.ignoredWriteAddresses = {1003};
    cli.start(setup);
    ASSERT_EQ(cli.run({"read", "--out", cli.dir.file("ref.csv")}).exitCode, 0);
    QByteArray csv = withValue(cli.dir.read("ref.csv"), "1003", "2");
    cli.dir.write("want.csv", withValue(csv, "3002", "503"));

    const CliResult r = cli.run({"write", cli.dir.file("want.csv"), "--yes", "--json", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 1) << "a failed verification";
    const QJsonObject out = r.json();
    EXPECT_EQ(addressesOf(out.value("written").toArray()), (QList<int>{1003, 3002}));
    EXPECT_EQ(addressesOf(out.value("verified").toArray()), QList<int>{3002});
    const QJsonArray failed = out.value("failed").toArray();
    ASSERT_EQ(addressesOf(failed), QList<int>{1003});
    EXPECT_EQ(failed[0].toObject().value("reason").toString(), "read back 1");

    const CliResult table = cli.run({"write", cli.dir.file("want.csv"), "--yes", "--lang", "en"});
    EXPECT_EQ(table.exitCode, 1);
    EXPECT_TRUE(text(table.out).contains("Failed: 1\n  1003  Run mode: read back 1\n"))
        << table.out.constData();
}

TEST(CliWireTest, WriteAsksBeforeWritingAndRefusesWithoutATerminal) {
    CliDevice cli;
    DeviceLine& line = cli.start();
    ASSERT_EQ(cli.run({"read", "--out", cli.dir.file("ref.csv")}).exitCode, 0);
    cli.dir.write("want.csv", withValue(cli.dir.read("ref.csv"), "1001", "9"));
    line.clearWire();

    const CliResult refused = cli.run({"write", cli.dir.file("want.csv")}, "y\n");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_TRUE(refused.err.contains("--yes")) << refused.err.constData();
    EXPECT_TRUE(line.wire().isEmpty()) << "refused before anything is sent";

    const CliResult dry = cli.run({"write", cli.dir.file("want.csv"), "--dry-run", "--json"});
    EXPECT_EQ(dry.exitCode, 1) << "something differs";
    EXPECT_EQ(addressesOf(dry.json().value("differences").toArray()), QList<int>{1001});
    EXPECT_EQ(line.wire(), kReadAllBytes) << "a dry run only reads";
    EXPECT_FALSE(QFile::exists(cli.dir.file("write-journal.csv")));
}

// A terminal for standard input: what is typed is queued on its other end beforehand.
class Terminal {
public:
    Terminal() {
        char name[256] = {};
        if (::openpty(&m_master, &m_slave, name, nullptr, nullptr) == 0)
            m_path = QString::fromLocal8Bit(name);
    }
    ~Terminal() {
        ::close(m_master);
        ::close(m_slave);
    }
    QString path() const { return m_path; }
    void type(const QByteArray& text) const {
        EXPECT_EQ(::write(m_master, text.constData(), size_t(text.size())), text.size());
    }

private:
    int m_master = -1, m_slave = -1;
    QString m_path;
};

TEST(CliWireTest, WriteAsksOnATerminalAndWritesOnlyOnYes) {
    CliDevice cli;
    DeviceLine& line = cli.start();
    ASSERT_EQ(cli.run({"read", "--out", cli.dir.file("ref.csv")}).exitCode, 0);
    cli.dir.write("want.csv", withValue(cli.dir.read("ref.csv"), "1001", "9"));
    Terminal terminal;
    ASSERT_FALSE(terminal.path().isEmpty());

    line.clearWire();
    terminal.type("n\n");
    const CliResult no =
        cli.runWithInputFile({"write", cli.dir.file("want.csv"), "--lang", "en"}, terminal.path());
    EXPECT_EQ(no.exitCode, 1) << no.err.constData();
    EXPECT_TRUE(no.err.contains("Write this parameter? [y/N] ")) << no.err.constData();
    EXPECT_TRUE(no.out.contains("1001")) << "the list comes before the question";
    EXPECT_EQ(line.wire(), kReadAllBytes) << "nothing written";

    line.clearWire();
    terminal.type("y\n");
    const CliResult yes =
        cli.runWithInputFile({"write", cli.dir.file("want.csv"), "--lang", "en"}, terminal.path());
    EXPECT_EQ(yes.exitCode, 0) << yes.err.constData();
    EXPECT_EQ(line.wire(), kReadAllBytes + "$KWRV=1001,9#\r\n$KRDV=1001#\r\n");
}

// The simulated device's registers move with time; a row is right when one moment of the
// device gives all four of its raw values.
bool rowIsOneMomentOfTheDevice(const QJsonArray& values) {
    for (qint64 second = 0; second < 200; ++second) {
        bool all = true;
        for (const QJsonValue& v : values) {
            const QJsonObject o = v.toObject();
            all = all && o.value("raw").toInt() == SimulatedDevice::registerValue(
                                                       1, quint16(o.value("address").toInt()), second * 1000);
        }
        if (all)
            return true;
    }
    return false;
}

TEST(CliWireTest, PollGivesRowsWhoseValuesAreTheRegistersScaled) {
    CliDevice cli;
    cli.start();
    const CliResult r = cli.run({"poll", "--page", "Live", "--interval", "200", "--for", "3s", "--json"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    QList<QByteArray> lines = r.out.trimmed().split('\n');
    ASSERT_GE(lines.size(), 4) << r.out.constData();
    const QJsonObject health = QJsonDocument::fromJson(lines.takeLast()).object().value("health").toObject();
    EXPECT_EQ(health.value("good").toInt(), lines.size());
    EXPECT_EQ(health.value("timedOut").toInt(), 0);
    EXPECT_LE(lines.size(), 16) << "at most one request per interval";
    for (const QByteArray& l : lines) {
        const QJsonArray values = QJsonDocument::fromJson(l).object().value("values").toArray();
        ASSERT_EQ(addressesOf(values), (QList<int>{100, 101, 102, 103})) << l.constData();
        EXPECT_TRUE(rowIsOneMomentOfTheDevice(values)) << l.constData();
        const int pressRaw = values[2].toObject().value("raw").toInt();
        EXPECT_DOUBLE_EQ(values[2].toObject().value("value").toDouble(), (pressRaw - 100) * 0.01);
        EXPECT_DOUBLE_EQ(values[0].toObject().value("value").toDouble(),
                         values[0].toObject().value("raw").toInt() * 0.1);
    }

    const CliResult csv =
        cli.run({"poll", "--page", "实时数据", "--count", "2", "--out", cli.dir.file("live.csv")});
    ASSERT_EQ(csv.exitCode, 0) << csv.err.constData();
    const QList<QByteArray> rows = cli.dir.read("live.csv").split('\n');
    ASSERT_EQ(rows.size(), 4) << "header, two rows, the end";
    EXPECT_EQ(rows[0], "\xEF\xBB\xBFtime,温度 (℃),湿度 (%RH),压力 (kPa),流量 (L/h)\r");
    EXPECT_TRUE(QRegularExpression("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d\\.\\d{3},\\d+(\\.\\d)?,")
                    .match(QString::fromUtf8(rows[1]))
                    .hasMatch())
        << rows[1].constData();
    EXPECT_TRUE(csv.err.contains("已发 2")) << csv.err.constData();
}

TEST(CliWireTest, PollingADeviceThatRefusesEveryRequestCountsItAndExitsWithOne) {
    CliDevice cli;
    SimulatedDevice::Setup setup = ExampleDevice(cli.configPath());
    setup.modbusFault = SimulatedDevice::Setup::ModbusFault::Exception;
    cli.start(setup);
    const CliResult r = cli.run({"poll", "--page", "Live", "--interval", "100", "--count", "2", "--json"});
    EXPECT_EQ(r.exitCode, 1);
    const QList<QByteArray> lines = r.out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 1) << "no rows, only the health counts: " << r.out.constData();
    const QJsonObject health = QJsonDocument::fromJson(lines[0]).object().value("health").toObject();
    EXPECT_EQ(health.value("exceptions").toInt(), 2);
    EXPECT_EQ(health.value("lastException").toInt(), 2);
    EXPECT_EQ(health.value("good").toInt(), 0);
}

TEST(CliWireTest, UsageAndConfigurationErrorsExitWithTwoAndOneLine) {
    CliDevice cli;
    DeviceLine& line = cli.start();
    const QList<QStringList> cases = {{},
                                      {"frobnicate"},
                                      {"read", "--bogus"},
                                      {"read", "--count", "3"},
                                      {"read", "--page"},
                                      {"read", "--page", "Nowhere"},
                                      {"read", "--baud", "fast"},
                                      {"read", "--parity", "X"},
                                      {"poll"},
                                      {"poll", "--page", "Live", "--count", "2", "--for", "1s"},
                                      {"poll", "--page", "Stat"},
                                      {"poll", "--page", "Live", "--for", "soon"},
                                      {"compare"},
                                      {"compare", "/nonexistent/ref.csv"},
                                      {"write", "a.csv", "b.csv"},
                                      {"batch", "No such batch"},
                                      {"batch", "确认后重启"},
                                      {"send", "中文"}};
    for (const QStringList& args : cases) {
        const CliResult r = cli.run(args);
        EXPECT_EQ(r.exitCode, 2) << args.join(' ').toStdString();
        EXPECT_EQ(r.err.count('\n'), 1) << args.join(' ').toStdString() << ": " << r.err.constData();
        EXPECT_TRUE(r.err.startsWith("tervalon-cli: ")) << r.err.constData();
    }
    EXPECT_TRUE(line.wire().isEmpty()) << "nothing is sent for a command that cannot run";

    const CliResult noConfig = cli.runBare({"read", "--config", cli.dir.file("missing.xml")});
    EXPECT_EQ(noConfig.exitCode, 2);
    EXPECT_TRUE(noConfig.err.contains("missing.xml")) << noConfig.err.constData();
    cli.dir.write("broken.csv", "page,tag\r\n\"unclosed\r\n");
    const CliResult badSnapshot = cli.run({"compare", cli.dir.file("broken.csv")});
    EXPECT_EQ(badSnapshot.exitCode, 2);
    EXPECT_TRUE(badSnapshot.err.contains("broken.csv")) << badSnapshot.err.constData();
}

TEST(CliWireTest, APortThatCannotBeOpenedExitsWithThreeAndTheReason) {
    CliDevice cli;
    const CliResult r =
        cli.runBare({"read", "--config", cli.configPath(), "--port", "/dev/tervalon-none", "--lang", "en"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(r.err, "tervalon-cli: /dev/tervalon-none open error: /dev/tervalon-none does not exist\n");

    DeviceLine& line = cli.start();
    // The port settings of config.xml are overridden for this run only.
    const QByteArray before = cli.dir.read("config.xml");
    const CliResult other = cli.run({"read", "--page", "Net", "--stop-bits", "1.5", "--data-bits", "5",
                                     "--parity", "E", "--baud", "300"});
    EXPECT_EQ(other.exitCode, 0) << other.err.constData();
    EXPECT_EQ(line.wire(), "$KRDV=3001#\r\n$KRDV=3002#\r\n");
    EXPECT_EQ(cli.dir.read("config.xml"), before) << "never written back";
}

TEST(CliWireTest, SendAndBatchPrintTheReplyLines) {
    CliDevice cli;
    DeviceLine& line = cli.start();
    const CliResult r = cli.run({"batch", "初始化设备"});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, "OK KWRV,1001\nOK KWRV,1003\n$KRDV,1001=1\n");
    EXPECT_EQ(line.wire(), "$KWRV=1001,1#$KWRV=1003,0#$KRDV=1001#")
        << "steps as they stand, as the window sends them";

    const CliResult read = cli.run({"send", "$KRDV=1001#"});
    EXPECT_EQ(read.exitCode, 0);
    EXPECT_EQ(read.out, "$KRDV,1001=1\n");
    SimulatedDevice::Setup quiet = ExampleDevice(cli.configPath());
    quiet.silentAddresses = {1001};
    cli.start(quiet);
    const CliResult none = cli.run({"send", "$KRDV=1001#"}, {}, 1);
    EXPECT_EQ(none.exitCode, 1) << "no reply at all";
}

TEST(CliWireTest, ADeviceThatVanishesMidReadIsReportedOnceAndTheRestIsNotWaitedFor) {
    CliDevice cli(2000);
    SimulatedDevice::Setup setup = ExampleDevice(cli.configPath());
    setup.silentAddresses = {1003};
    DeviceLine& line = cli.start(setup);
    CliResult r;
    std::thread run([&] { r = cli.run({"read", "--json", "--lang", "en"}); });
    const bool reached = waitFor([&] { return line.wire().contains("$KRDV=1003#"); }, 60000);
    line.vanish();
    run.join();
    ASSERT_TRUE(reached);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.count("was disconnected"), 1) << r.err.constData();
    EXPECT_EQ(addressesOf(r.json().value("silent").toArray()),
              (QList<int>{1003, 1004, 2001, 2002, 2003, 2004, 3001, 3002}));
    EXPECT_EQ(parameterAt(r.json(), 1002).value("value").toString(), "2");
}

// Two devices on two ports, written at once by two processes sharing one configuration
// folder: each device gets its own values and the shared journal keeps every row whole.
TEST(CliWireTest, TwoPortsAtOnceEachGetTheirWritesAndTheJournalStaysWhole) {
    CliDevice cli;
    DeviceLine& first = cli.start();
    DeviceLine& second = cli.start();
    ASSERT_EQ(cli.run({"read", "--out", cli.dir.file("ref.csv")}).exitCode, 0);
    QByteArray want = cli.dir.read("ref.csv");
    for (const char* address : {"1001", "2001", "2002", "2003", "2004", "3002"})
        want = withValue(want, address, "77");
    cli.dir.write("want.csv", want);
    first.clearWire();

    CliResult a, b;
    std::thread other([&] { b = cli.run({"write", cli.dir.file("want.csv"), "--yes"}, {}, 1); });
    a = cli.run({"write", cli.dir.file("want.csv"), "--yes"}, {}, 0);
    other.join();
    EXPECT_EQ(a.exitCode, 0) << a.err.constData() << a.out.constData();
    EXPECT_EQ(b.exitCode, 0) << b.err.constData() << b.out.constData();
    EXPECT_TRUE(first.wire().contains("$KWRV=2002,77#\r\n"));
    EXPECT_TRUE(second.wire().contains("$KWRV=2002,77#\r\n"));
    EXPECT_EQ(cli.run({"compare", cli.dir.file("want.csv")}, {}, 0).exitCode, 0);
    EXPECT_EQ(cli.run({"compare", cli.dir.file("want.csv")}, {}, 1).exitCode, 0);

    const QByteArray journal = cli.dir.read("write-journal.csv");
    EXPECT_EQ(journal.count(WriteJournal::headerLine().toUtf8()), 1);
    const QList<QByteArray> rows = journal.split('\n');
    ASSERT_EQ(rows.size(), 1 + 12 + 1);
    int fromFirst = 0;
    for (const QByteArray& row : rows.mid(1, 12)) {
        EXPECT_TRUE(QRegularExpression(
                        "^\\d{4}-\\d\\d-\\d\\d "
                        "\\d\\d:\\d\\d:\\d\\d,/dev/pts/\\d+,\\d{4},[^,]+,-?\\d+,77,\"OK KWRV,\\d{4}\"\r$")
                        .match(QString::fromUtf8(row))
                        .hasMatch())
            << row.constData();
        fromFirst += row.contains("," + first.portPath().toUtf8() + ",");
    }
    EXPECT_EQ(fromFirst, 6);
}

} // namespace
