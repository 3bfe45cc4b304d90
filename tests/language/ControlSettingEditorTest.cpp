#include "language/ControlSettingFixture.h"

#include <QCheckBox>
#include <QFile>

TEST_F(ControlSettingEditorTest, EditorWindowHasTheFixedLayoutAndTitleOfTheLanguage) {
    ASSERT_TRUE(rightClick(find("lbl_Port"), [&](TForm_ControlSetting& ed) {
        EXPECT_EQ(ed.windowTitle(), QStringLiteral("控件显示内容设置"));
        EXPECT_EQ(ed.size(), QSize(717, 392));
        EXPECT_EQ(ed.mmo_ItemsValue->geometry(), QRect(128, 300, 577, 53));
        EXPECT_EQ(ed.edt_CaptionEN->geometry(), QRect(424, 83, 281, 21));
        EXPECT_TRUE(ed.btn_OK->isDefault());
        EXPECT_EQ(ed.Label4->text(), QStringLiteral("Second Language(EN)"));
        const QList<QWidget*> fields = {ed.edt_CaptionCN, ed.mmo_HintCN,    ed.mmo_ItemsCN,
                                        ed.mmo_ItemsEN,   ed.mmo_HintEN,    ed.edt_CaptionEN,
                                        ed.btn_OK,        ed.mmo_ItemsValue};
        QList<QWidget*> order;
        for (QWidget* w = ed.edt_CaptionCN; order.size() < fields.size(); w = w->nextInFocusChain())
            if (fields.contains(w) && !order.contains(w))
                order << w;
        EXPECT_EQ(order, fields);
    }));
}

TEST_F(ControlSettingEditorTest, OpeningEnablesAndFillsTheFieldsOfEachKind) {
    auto open = [&](QWidget* target) {
        FieldState s;
        EXPECT_TRUE(rightClick(target, [&](TForm_ControlSetting& ed) { s = state(ed); }));
        return s;
    };
    FieldState s = open(find("grp_Node"));
    EXPECT_EQ(s.type, "GROUPBOX");
    EXPECT_TRUE(s.captions && s.hints && !s.items && !s.values);
    EXPECT_EQ(s.texts, QStringList({"说明", "Notes", "", "", "", "", ""}));

    s = open(find("lbl_Mode"));
    EXPECT_EQ(s.type, "LABEL");
    EXPECT_EQ(s.texts.mid(0, 4), QStringList({"模式", "Mode", "工作模式", "x"}));

    s = open(find("edt_Speed"));
    EXPECT_EQ(s.type, "EDIT");
    EXPECT_TRUE(!s.captions && s.hints && !s.items);
    EXPECT_EQ(s.texts.mid(2, 2), QStringList({"速度", "Speed"}));

    s = open(find("cbb_Mode"));
    EXPECT_EQ(s.type, "COMBOBOX");
    EXPECT_TRUE(!s.captions && s.hints && s.items && s.values);
    EXPECT_EQ(s.texts.mid(2, 4), QStringList({"工作模式", "Mode", "关|开", "Off|On"}));

    // A template box's values are not its own: shown disabled (here empty: no parameter has
    // address 0), never written.
    s = open(find("cbb_Port"));
    EXPECT_TRUE(s.items && !s.values);
    EXPECT_EQ(s.texts[4], "COM1|COM2");

    // A radio button has no entry: nothing enabled, the group of the last opening kept.
    s = open(find("rbtn_Hex"));
    EXPECT_EQ(s.name, "rbtn_Hex");
    EXPECT_EQ(s.type, "COMBOBOX");
    EXPECT_TRUE(!s.captions && !s.hints && !s.items && !s.values);

    // A value display shows its scaling constants greyed.
    s = open(find("V100"));
    EXPECT_TRUE(s.captions && !s.hints);
    EXPECT_EQ(s.texts.mid(0, 4), QStringList({"0.00", "0", "0|0.1", "0|0.1"}));
}

TEST_F(ControlSettingEditorTest, RightClicksReachTheNearestControlWithTheMenu) {
    auto nameShownFor = [&](QWidget* target) {
        QString name;
        rightClick(target, [&](TForm_ControlSetting& ed) { name = ed.lbl_Name->text(); });
        return name;
    };
    // A panel without the menu passes the click to its group box.
    EXPECT_EQ(nameShownFor(find("Panel2")), "grp_DataRecvAndSend");
    // The edit inside a choice box does not open its own menu.
    EXPECT_EQ(nameShownFor(find<QComboBox>("cbb_Port")->lineEdit()), "cbb_Port");
    // The empty area of a fixed-command page edits the page's tab sheet, not the scroll box.
    auto* sheet = find("tbs_F1");
    auto* box = sheet->findChild<QAbstractScrollArea*>();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(nameShownFor(box->viewport()), "tbs_F1");
    // Controls that keep their own menu never open the editor.
    EXPECT_FALSE(rightClick(window->mmo_RX->viewport()));
    if (QWidget* menu = QApplication::activePopupWidget())
        menu->close();
}

TEST_F(ControlSettingEditorTest, FixedCommandButtonsEditTheirCommands) {
    ASSERT_TRUE(rightClick(find("btn_Go"), [&](TForm_ControlSetting& ed) {
        EXPECT_TRUE(ed.lbl_CMD->isEnabled());
        EXPECT_FALSE(ed.lbl_Hint->isEnabled());
        EXPECT_EQ(ed.mmo_HintEN->toolTip(), QStringLiteral("请在此输入点击此按钮时所发送的指令"));
        EXPECT_EQ(ed.mmo_HintCN->toPlainText(), "$GO#");
        ed.mmo_HintCN->setPlainText(QStringLiteral("$GO2#"));
        ed.btn_OK->click();
    }));
    EXPECT_EQ(attr("LANGUAGE/COMPONETS/BUTTON/@btn_Go", "hintCN"), "$GO2#");
    EXPECT_EQ(attr("GROUP_FIX/F1/Go", "cmdStr"), "$GO#");

    ASSERT_TRUE(rightClick(find("btn_Send"), [&](TForm_ControlSetting& ed) {
        EXPECT_FALSE(ed.lbl_CMD->isEnabled());
        EXPECT_TRUE(ed.lbl_Hint->isEnabled());
        EXPECT_TRUE(ed.mmo_HintCN->toolTip().isEmpty());
    }));

    // The prompt and the title follow the language of the file at the moment of opening.
    dir.write(QStringLiteral("config.xml"), configXml().replace("value=\"CN\"", "value=\"EN\""));
    ASSERT_TRUE(rightClick(find("btn_Go"), [&](TForm_ControlSetting& ed) {
        EXPECT_EQ(ed.windowTitle(), QStringLiteral("Control displays content Settings"));
        EXPECT_EQ(ed.mmo_HintCN->toolTip(),
                  QStringLiteral("Please enter the command corresponding to this button here"));
    }));
}

TEST_F(ControlSettingEditorTest, OkWritesTheEntryAndOnlyChineseTextsIntoTheParameter) {
    editAndOk(find("lbl_Mode"), [](TForm_ControlSetting& ed) {
        ed.edt_CaptionCN->setText(QStringLiteral("新模式"));
        ed.edt_CaptionEN->setText(QStringLiteral("New mode"));
        ed.mmo_HintCN->setPlainText(QStringLiteral("新提示"));
    });
    EXPECT_EQ(attr("LANGUAGE/COMPONETS/LABEL/@lbl_Mode", "captionEN"), "New mode");
    EXPECT_EQ(attr("GROUP_DYNC/P1/Mode", "caption"), "新模式");
    EXPECT_EQ(attr("GROUP_DYNC/P1/Mode", "hint"), "新提示");

    editAndOk(find("cbb_Mode"), [](TForm_ControlSetting& ed) {
        ed.mmo_ItemsCN->setPlainText(QStringLiteral("关|开|自动"));
        ed.mmo_ItemsEN->setPlainText(QStringLiteral("Off|On|Auto"));
        ed.mmo_ItemsValue->setPlainText(QStringLiteral("0|1|2"));
    });
    EXPECT_EQ(attr("LANGUAGE/COMPONETS/COMBOBOX/@cbb_Mode", "itemsEN"), "Off|On|Auto");
    EXPECT_EQ(attr("GROUP_DYNC/P1/Mode", "items"), "关|开|自动");
    EXPECT_EQ(attr("GROUP_DYNC/P1/Mode", "itemsValue"), "0|1|2");

    editAndOk(find("edt_Speed"), [](TForm_ControlSetting& ed) { ed.mmo_HintEN->setPlainText("Rate"); });
    EXPECT_EQ(attr("LANGUAGE/COMPONETS/EDIT/@edt_Speed", "hintEN"), "Rate");
    EXPECT_EQ(attr("GROUP_DYNC/P1/Speed", "hint"), "速度");

    // A value display's constants are greyed and stay as they are.
    editAndOk(find("V100"), [](TForm_ControlSetting& ed) { ed.mmo_HintCN->setPlainText("9|9"); });
    EXPECT_EQ(attr("LANGUAGE/COMPONETS/LABEL/@V100", "hintCN"), "0|0.1");

    // Items typed on separate lines stay one text with line breaks.
    editAndOk(find("cbb_Port"), [](TForm_ControlSetting& ed) { ed.mmo_ItemsCN->setPlainText("COM1\nCOM2"); });
    EXPECT_EQ(attr("LANGUAGE/COMPONETS/COMBOBOX/@cbb_Port", "itemsCN"), "COM1\r\nCOM2");
}

TEST_F(ControlSettingEditorTest, TheKeyIgnoresTheKindOfControl) {
    // The tab P1 and its item P1 share a tag name: editing the tab reaches the item too.
    auto* box = find("tbs_P1")->findChild<QAbstractScrollArea*>();
    editAndOk(box, [](TForm_ControlSetting& ed) {
        EXPECT_EQ(ed.lbl_Name->text(), "tbs_P1");
        ed.edt_CaptionCN->setText(QStringLiteral("页"));
    });
    EXPECT_EQ(attr("LANGUAGE/COMPONETS/TABSHEET/@tbs_P1", "captionCN"), "页");
    EXPECT_EQ(attr("GROUP_DYNC/P1/P1", "caption"), "页");
    EXPECT_EQ(attr("GROUP_DYNC/P1/P1", "hint"), "参数页");
    EXPECT_EQ(TForm_ControlSetting::parameterKey("btn_Read_P1"), "Read_P1");
    EXPECT_EQ(TForm_ControlSetting::parameterKey("V100"), "V100");
}

TEST_F(ControlSettingEditorTest, NothingIsWrittenWithoutOkOrWithoutAnEntry) {
    const QByteArray before = dir.read(QStringLiteral("config.xml"));
    ASSERT_TRUE(
        rightClick(find("lbl_Port"), [](TForm_ControlSetting& ed) { ed.edt_CaptionCN->setText("X"); }));
    EXPECT_EQ(dir.read(QStringLiteral("config.xml")), before);

    // A radio button has no entry and, opened first, no group: OK saves and closes.
    editAndOk(find("rbtn_Ascii"), [](TForm_ControlSetting&) {});
    EXPECT_TRUE(presenter.messages.isEmpty());

    // lbl_Speed has no entry: empty fields, OK changes no text of the file and says why.
    editAndOk(find("lbl_Speed"), [](TForm_ControlSetting& ed) {
        EXPECT_TRUE(ed.edt_CaptionCN->text().isEmpty());
        ed.edt_CaptionCN->setText("X");
    });
    EXPECT_EQ(attr("GROUP_DYNC/P1/Speed", "caption"), "速度");
    ASSERT_EQ(presenter.messages.size(), 1);
    EXPECT_EQ(presenter.messages[0], "config.xml 的 TERVALON/LANGUAGE/COMPONETS/LABEL 中没有名为 lbl_Speed "
                                     "的条目，显示内容未保存。下次以中文启动时会添加该条目。");
}

TEST_F(ControlSettingEditorTest, MissingElementsAreNamedAndNothingIsSaved) {
    QByteArray xml = configXml();
    xml.replace("<EDIT><EDIT_LAN name=\"edt_Speed\" hintCN=\"速度\" hintEN=\"Speed\"/></EDIT>", "");
    dir.write(QStringLiteral("config.xml"), xml);
    EXPECT_FALSE(rightClick(find("edt_Speed")));
    ASSERT_EQ(presenter.messages.size(), 1);
    EXPECT_TRUE(presenter.messages[0].contains("TERVALON/LANGUAGE/COMPONETS/EDIT"));

    // The group vanishes while the editor is open: OK names it and the editor stays open.
    dir.write(QStringLiteral("config.xml"), configXml());
    ASSERT_TRUE(rightClick(find("edt_Speed"), [&](TForm_ControlSetting& ed) {
        dir.write(QStringLiteral("config.xml"), xml);
        ed.btn_OK->click();
        EXPECT_TRUE(ed.isVisible());
    }));
    EXPECT_EQ(dir.read(QStringLiteral("config.xml")), xml);

    // An unreadable file goes to the general error box; the editor stays open.
    ASSERT_TRUE(rightClick(find("grp_Node"), [&](TForm_ControlSetting& ed) {
        QFile::remove(dir.file(QStringLiteral("config.xml")));
        ed.btn_OK->click();
        EXPECT_TRUE(ed.isVisible());
        EXPECT_FALSE(QFile::exists(dir.file(QStringLiteral("config.xml"))));
        dir.write(QStringLiteral("config.xml"), configXml());
    }));
    EXPECT_EQ(presenter.errors.size(), 1);
}

TEST_F(ControlSettingEditorTest, TheTrendChartsControlsAreEditedLikeTheOthers) {
    window->CreateLanguageNode(); // the file here predates the chart: its entries are added
    editAndOk(find("btn_Trend"), [](TForm_ControlSetting& ed) {
        EXPECT_EQ(ed.edt_CaptionEN->text(), "Trend");
        ed.edt_CaptionEN->setText(QStringLiteral("Chart"));
    });
    EXPECT_EQ(attr("LANGUAGE/COMPONETS/BUTTON/@btn_Trend", "captionEN"), "Chart");
    editAndOk(find("chk_TrendPause"), [](TForm_ControlSetting& ed) {
        ed.edt_CaptionCN->setText(QStringLiteral("冻结"));
    });
    EXPECT_EQ(attr("LANGUAGE/COMPONETS/CHECKBOX/@chk_TrendPause", "captionCN"), "冻结");
    EXPECT_EQ(find<QCheckBox>("chk_TrendPause")->text(), "冻结");
    EXPECT_TRUE(presenter.messages.isEmpty()) << presenter.messages.join('\n').toStdString();
}

TEST_F(ControlSettingEditorTest, AnUnreadableValueListKeepsOnlyAParameterBoxClosed) {
    QByteArray xml = configXml();
    const qsizetype from = xml.indexOf("<GROUP_DYNC>");
    const QByteArray end = "</GROUP_DYNC>";
    xml.remove(from, xml.indexOf(end) + end.size() - from);
    dir.write(QStringLiteral("config.xml"), xml);

    // OK would overwrite the parameter's values with an empty list: the editor stays shut.
    EXPECT_FALSE(rightClick(find("cbb_Mode")));
    ASSERT_EQ(presenter.messages.size(), 1);
    EXPECT_TRUE(presenter.messages[0].contains("TERVALON/GROUP_DYNC")) << presenter.messages[0].toStdString();

    // A template box's list is only shown, so the rest of its texts can still be edited.
    ASSERT_TRUE(rightClick(find("cbb_Port"), [](TForm_ControlSetting& ed) {
        EXPECT_EQ(ed.mmo_ItemsCN->toPlainText(), "COM1|COM2");
        EXPECT_TRUE(ed.mmo_HintEN->isEnabled());
        EXPECT_TRUE(ed.mmo_ItemsValue->toPlainText().isEmpty());
    }));
    EXPECT_EQ(presenter.messages.size(), 1);
}

TEST_F(ControlSettingEditorTest, AParameterEditReachesTheFirstItemOfItsNameInEveryTab) {
    QByteArray xml = configXml(QStringLiteral("<Mode caption=\"先\" hint=\"先\" addr=\"9\"/>"));
    xml.replace(
        "</GROUP_DYNC>",
        "<P2 caption=\"二\"><Other caption=\"别\"/><Mode caption=\"模式\" addr=\"8\"/></P2></GROUP_DYNC>");
    dir.write(QStringLiteral("config.xml"), xml);
    editAndOk(find("lbl_Mode"),
              [](TForm_ControlSetting& ed) { ed.edt_CaptionCN->setText(QStringLiteral("新")); });

    EXPECT_EQ(attr("GROUP_DYNC/P1/Mode", "caption"), "新");
    EXPECT_EQ(attr("GROUP_DYNC/P1/Mode", "hint"), "工作模式") << "the editor's hint field is written too";
    EXPECT_EQ(attr("GROUP_DYNC/P2/Mode", "caption"), "新");
    EXPECT_EQ(attr("GROUP_DYNC/P2/Other", "caption"), "别");
    const QString saved = QString::fromUtf8(dir.read(QStringLiteral("config.xml")));
    EXPECT_TRUE(saved.contains("<Mode caption=\"模式\" hint=\"工作模式\" addr=\"5\""))
        << "a second item of the name in the same tab is left alone";
}
