#pragma once

#include "app/MainFrm.h"
#include "config/TextScrambler.h"
#include "language/ControlSettingFrm.h"
#include "support/TestApp.h"

#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <gtest/gtest.h>

// A window built from a small configuration, and the means to drive its settings editor
// without blocking on the modal loop.

inline QByteArray configXml(const QString& extraItem = {}) {
    QString xml = QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<TERVALON appName="T" web1="%1" web2="%2">
	<SKIN SkinFile="Windows"/>
	<COMM Port="COM1" Baud="9600" Parity="N" ByteSize="8" StopBits="1"/>
	<NODE node1="n1" node2="n2" node3="n3"/>
	<LANGUAGE value="CN">
		<COMPONETS>
			<GROUPBOX><GROUPBOX_LAN name="grp_Node" captionCN="说明" hintCN="" captionEN="Notes" hintEN=""/></GROUPBOX>
			<TABSHEET><TABSHEET_LAN name="tbs_P1" captionCN="参数" hintCN="参数页" captionEN="Params" hintEN="Page"/></TABSHEET>
			<BUTTON>
				<BUTTON_LAN name="btn_Send" captionCN="发送" hintCN="" captionEN="Send" hintEN=""/>
				<BUTTON_LAN name="btn_Go" captionCN="启动" hintCN="$GO#" captionEN="Go" hintEN="$GO#"/>
			</BUTTON>
			<LABEL>
				<LABEL_LAN name="lbl_Port" captionCN="端口：" hintCN="" captionEN="Port:"/>
				<LABEL_LAN name="lbl_Mode" captionCN="模式" hintCN="工作模式" captionEN="Mode" hintEN="x"/>
				<LABEL_LAN name="V100" captionCN="0.00" hintCN="0|0.1" captionEN="0" hintEN="0|0.1"/>
			</LABEL>
			<EDIT><EDIT_LAN name="edt_Speed" hintCN="速度" hintEN="Speed"/></EDIT>
			<COMBOBOX>
				<COMBOBOX_LAN name="cbb_Port" hintCN="" hintEN="" itemsCN="COM1|COM2" itemsEN="COM1|COM2"/>
				<COMBOBOX_LAN name="cbb_Mode" hintCN="工作模式" hintEN="Mode" itemsCN="关|开" itemsEN="Off|On"/>
			</COMBOBOX>
			<CHECKBOX><CHECKBOX_LAN name="chk_showDT" captionCN="显示时间" hintCN="" captionEN="Show time" hintEN=""/></CHECKBOX>
		</COMPONETS>
		<MESSAGES><MSG_BTN_UNCONNECT strCN="断开" strEN="Disconnect"/></MESSAGES>
	</LANGUAGE>
	<GROUP_DYNC>
		<P1 caption="参数">%3
			<Mode caption="模式" hint="工作模式" addr="5" controlType="ComboBox" items="关|开" itemsValue="0|1"/>
			<Speed caption="速度" hint="速度" addr="6"/>
			<P1 caption="同名" hint="同名" addr="7"/>
			<sepxxx/>
		</P1>
	</GROUP_DYNC>
	<GROUP_FIX><F1 caption="固定"><Go caption="启动" hint="" cmdStr="$GO#"/></F1></GROUP_FIX>
	<GROUP_AUTO><A1 caption="自动" protocol="MODBUS" equAddr="1" startReg="100" regLen="1"><T1 caption="温度" hint="" addr="100" constA="0" constM="0.1" unit="C"/></A1></GROUP_AUTO>
</TERVALON>
)");
    return xml
        .arg(ScrambleText(QStringLiteral("http://a"), web1ScrambleKey),
             ScrambleText(QStringLiteral("http://b"), web2ScrambleKey), extraItem)
        .toUtf8();
}

class ControlSettingEditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApp();
        dir.write(QStringLiteral("config.xml"), configXml());
        window = std::make_unique<TForm_Main>(dir.path());
        window->FormCreate();
        window->show();
        // The file as written here, whatever start-up refreshed in it.
        dir.write(QStringLiteral("config.xml"), configXml());
        presenter.messages.clear();
    }

    template <class T = QWidget> T* find(const char* name) {
        auto* w = qobject_cast<T*>(window->FindComponent(QLatin1String(name)));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }

    // Right-clicks target; while the editor is open runs action, then closes it if the
    // action left it open. True when the editor opened.
    bool rightClick(QWidget* target, const std::function<void(TForm_ControlSetting&)>& action = {}) {
        bool shown = false;
        // Owned here, so it can never fire after this call with its references gone.
        QTimer timer;
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [&] {
            TForm_ControlSetting* ed = Form_ControlSetting;
            if (!ed || !ed->isVisible())
                return;
            shown = true;
            if (action)
                action(*ed);
            if (ed->isVisible())
                ed->reject();
        });
        timer.start(0);
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(1, 1), target->mapToGlobal(QPoint(1, 1)));
        QApplication::sendEvent(target, &event);
        QCoreApplication::processEvents();
        return shown;
    }

    // Opens the editor on target, lets fill change the fields, presses OK.
    void editAndOk(QWidget* target, const std::function<void(TForm_ControlSetting&)>& fill) {
        ASSERT_TRUE(rightClick(target, [&](TForm_ControlSetting& ed) {
            fill(ed);
            ed.btn_OK->click();
            EXPECT_FALSE(ed.isVisible());
        }));
    }

    QString attr(const QString& path, const char* attribute) {
        const XmlDocument doc = XmlDocument::openForWriting(dir.file(QStringLiteral("config.xml")));
        XmlNode node = doc.findRoot();
        for (const QString& step : path.split(u'/')) {
            if (step.startsWith(u'@')) { // an entry of a language group by its name
                const XmlNode entry = TForm_ControlSetting::findEntry(node, step.mid(1));
                node = entry;
            } else {
                node = node.findChild(step);
            }
        }
        return node.readAttribute(QLatin1String(attribute));
    }

    TempAppDir dir;
    RecordingPresenter presenter;
    std::unique_ptr<TForm_Main> window;
};

struct FieldState {
    QString name, type;
    bool captions, hints, items, values;
    QStringList texts; // the seven fields in order
};

inline FieldState state(TForm_ControlSetting& ed) {
    FieldState s{ed.lbl_Name->text(),
                 ed.controlType,
                 ed.edt_CaptionCN->isEnabled(),
                 ed.mmo_HintCN->isEnabled(),
                 ed.mmo_ItemsCN->isEnabled(),
                 ed.mmo_ItemsValue->isEnabled(),
                 {}};
    s.texts = {ed.edt_CaptionCN->text(),        ed.edt_CaptionEN->text(),      ed.mmo_HintCN->toPlainText(),
               ed.mmo_HintEN->toPlainText(),    ed.mmo_ItemsCN->toPlainText(), ed.mmo_ItemsEN->toPlainText(),
               ed.mmo_ItemsValue->toPlainText()};
    return s;
}
