// Start-up of a large configuration in Chinese (pages built, every language entry created
// and saved, texts applied) and switching the language both ways.

#include "app/MainFrm.h"
#include "ui/MessageBoxes.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int parameterRows = 2000;
constexpr int parameterTabs = 10;
constexpr int fixedRows = 500;
constexpr int autoRows = 500;

// Any message box means the measurement is not the one intended.
class FailingPresenter : public MessagePresenter {
public:
    void show(Kind, const QString& text) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        failed = true;
    }
    bool failed = false;
};

QByteArray largeConfig() {
    QString x;
    x += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<TERVALON appName=\"基准\" web1=\"0041\" "
         "web2=\"0041\">\n"
         "<SKIN SkinFile=\"Amakrits\"/>\n"
         "<COMM Port=\"COM1\" Baud=\"9600\" Parity=\"N\" ByteSize=\"8\" StopBits=\"1\"/>\n"
         "<CMDS showButton=\"1\" caption=\"执行\"><a caption=\"批一\" CmdsStr=\"A[1]|B[-1]\"/></CMDS>\n"
         "<NODE node1=\"一\" node2=\"二\" node3=\"三\"/>\n"
         "<LANGUAGE "
         "value=\"CN\"><COMPONETS><GROUPBOX/><TABSHEET/><BUTTON/><LABEL/><EDIT/><COMBOBOX/><CHECKBOX/>"
         "</COMPONETS><MESSAGES><MSG_BTN_UNCONNECT strCN=\"断开端口\" "
         "strEN=\"Disconnect\"/></MESSAGES></LANGUAGE>\n"
         "<GROUP_DYNC>\n";
    const int perTab = parameterRows / parameterTabs;
    for (int t = 0; t < parameterTabs; ++t) {
        x += QString("<D%1 caption=\"参数页%1\">\n").arg(t);
        for (int r = 0; r < perTab; ++r) {
            const int addr = 1000 + t * perTab + r;
            if (r % 3 == 0)
                x += QString("<P%1 caption=\"参数%1\" hint=\"提示%1\" addr=\"%1\" controlType=\"ComboBox\" "
                             "items=\"关|开|自动\" itemsValue=\"0|1|2\"/>\n")
                         .arg(addr);
            else
                x += QString("<P%1 caption=\"参数%1\" hint=\"提示%1\" addr=\"%1\"%2/>\n")
                         .arg(addr)
                         .arg(r % 3 == 1 ? " type=\"HEX\"" : "");
        }
        x += QString("</D%1>\n").arg(t);
    }
    x += "</GROUP_DYNC>\n<GROUP_FIX><F caption=\"固定\">\n";
    for (int r = 0; r < fixedRows; ++r)
        x += QString("<C%1 caption=\"命令%1\" hint=\"\" cmdStr=\"$C%1=[NOW]#\"/>\n").arg(r);
    x += "</F></GROUP_FIX>\n<GROUP_AUTO><A caption=\"实时\" protocol=\"MODBUS\" equAddr=\"1\" "
         "startReg=\"40000\" "
         "regLen=\"100\">\n";
    for (int r = 0; r < autoRows; ++r)
        x += QString("<R%1 caption=\"值%1\" hint=\"\" addr=\"%2\" constA=\"0\" constM=\"0.1\" unit=\"℃\"/>\n")
                 .arg(r)
                 .arg(40000 + r);
    x += "</A></GROUP_AUTO>\n</TERVALON>\n";
    return x.toUtf8();
}

double msSince(const QElapsedTimer& timer) {
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FailingPresenter presenter;
    setMessagePresenter(&presenter);

    QTemporaryDir dir;
    QFile file(dir.filePath("config.xml"));
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly) || file.write(largeConfig()) < 0) {
        std::fprintf(stderr, "cannot write the configuration\n");
        return 1;
    }
    file.close();

    // The stages of start-up on their own, to see where the time goes.
    {
        TForm_Main form(dir.path());
        QElapsedTimer timer;
        timer.start();
        form.ConfigDocument = std::make_unique<XmlDocument>();
        form.ConfigDocument->load(form.ConfigPath);
        const double load = msSince(timer);
        timer.restart();
        form.LoadConfiguration();
        const double build = msSince(timer);
        timer.restart();
        form.CreateLanguageNode();
        const double create = msSince(timer);
        timer.restart();
        form.SetLanguage();
        const double apply = msSince(timer);
        std::printf("startup_stage_load: %.0f ms\n", load);
        std::printf("startup_stage_build_pages: %.0f ms\n", build);
        std::printf("startup_stage_create_language_entries: %.0f ms\n", create);
        std::printf("startup_stage_apply_language: %.0f ms\n", apply);
        // The next start finds every entry and only refreshes it.
        QFile::copy(dir.filePath("config.xml"), dir.filePath("full.xml"));
    }

    int code = 0;
    {
        TForm_Main form(dir.path());
        QElapsedTimer timer;
        timer.start();
        form.FormCreate();
        const double startup = msSince(timer);
        const qsizetype controls = form.Components.size();
        if (presenter.failed || form.LanguageCode != QLatin1String("CN")) {
            std::fprintf(stderr, "start-up did not complete\n");
            code = 1;
        } else {
            timer.restart();
            form.btn_SecondLanguageClick();
            const double toEnglish = msSince(timer);
            timer.restart();
            form.btn_FirstLanguageClick();
            const double toChinese = msSince(timer);
            if (presenter.failed || form.LanguageCode != QLatin1String("CN")) {
                std::fprintf(stderr, "switching did not complete\n");
                code = 1;
            } else {
                std::printf("startup_components: %lld controls\n", static_cast<long long>(controls));
                std::printf("startup_chinese_2000_rows: %.0f ms\n", startup);
                std::printf("language_switch_to_english: %.0f ms\n", toEnglish);
                std::printf("language_switch_to_chinese: %.0f ms\n", toChinese);
            }
        }
    }
    setMessagePresenter(nullptr);
    return code;
}
