#include "ThreeRowWindow.h"

#include "ui/ControlLook.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace {

struct ReceiveWindow : ThreeRowWindow {
    // The box takes received text in batches; waits until it shows what is expected.
    bool shows(const std::function<bool(const QString&)>& expected) {
        return waitFor([&] { return expected(form->mmo_RX->toPlainText()); });
    }
    bool shows(const QString& text) {
        return shows([&](const QString& shown) { return shown == text; });
    }
};

TEST(ReceivingTest, RepliesGoToTheLastReadTargetInItsForm) {
    ReceiveWindow w;
    w.receive("$X=1\r\n");
    EXPECT_EQ(w.find<QLineEdit>("edt_Plain")->text(), "") << "no Read yet: shown only";

    w.read("Plain");
    w.receive("$X=12#\r\n");
    EXPECT_EQ(w.find<QLineEdit>("edt_Plain")->text(), "12#");
    w.receive("=5\r\n");
    EXPECT_EQ(w.find<QLineEdit>("edt_Plain")->text(), "12#") << "no $: no reply";

    w.read("Mask");
    w.receive("$X=123\r\n");
    EXPECT_EQ(w.find<QLineEdit>("edt_Mask")->text(), "007B");
    w.receive("$X=abc\r\n");
    EXPECT_EQ(w.find<QLineEdit>("edt_Mask")->text(), "007B") << "not a number: unchanged, no message";

    w.read("Mode");
    w.receive("$KRDV,7=1\r\n");
    EXPECT_EQ(w.find<QComboBox>("cbb_Mode")->currentText(), "快");
    EXPECT_TRUE(w.presenter.messages.isEmpty());
    EXPECT_TRUE(w.presenter.errors.isEmpty());
}

TEST(ReceivingTest, DisplayFormsTimeStampsAndAutomaticClearing) {
    ReceiveWindow w;
    TForm_Main& f = *w.form;
    f.rbtn_Hex->setChecked(true);
    w.receive(QByteArray::fromHex("01AB"));
    w.receive(QByteArray::fromHex("0D0A"));
    EXPECT_TRUE(w.shows("01 AB 0D 0A ")) << "hexadecimal blocks run together on one line";

    f.btn_ClearRxmmo->click();
    f.rbtn_Ascii->setChecked(true);
    f.chk_showDT->setChecked(true);
    w.receive("\xB0");
    const QRegularExpression stamped("^\n\\d\\d.\\d\\d.\\d\\d\t\u00B0$");
    EXPECT_TRUE(w.shows([&](const QString& shown) { return stamped.match(shown).hasMatch(); }))
        << f.mmo_RX->toPlainText().toStdString();

    f.chk_showDT->setChecked(false);
    f.btn_ClearRxmmo->click();
    w.receive(QByteArray(1000, 'a'));
    w.receive("b");
    EXPECT_TRUE(w.shows(QString(1000, 'a') + "b")) << "1000 characters are kept";
    w.receive("c");
    EXPECT_TRUE(w.shows("c")) << "above 1000 the box is emptied first";
    f.chk_autoClearRxmmo->setChecked(false);
    w.receive(QByteArray(1000, 'd'));
    w.receive("e");
    EXPECT_TRUE(w.shows("c" + QString(1000, 'd') + "e"));

    // A line too long to lay out quickly continues on the next line of the box.
    f.btn_ClearRxmmo->click();
    w.receive(QByteArray(3000, 'x'));
    w.receive(QByteArray(2000, 'y'));
    EXPECT_TRUE(w.shows(QString(3000, 'x') + QString(1096, 'y') + "\n" + QString(904, 'y')));

    f.chk_AutoNewLine->click();
    EXPECT_TRUE(f.mmo_RX->wrapping());
    f.chk_AutoNewLine->click();
    EXPECT_FALSE(f.mmo_RX->wrapping());
}

} // namespace
