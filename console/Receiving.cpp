#include "app/MainFrm.h"

#include "console/ConsoleWiring.h"
#include "console/protocol/ReceivedBlock.h"
#include "ui/ControlLook.h"

#include <QCheckBox>
#include <QRadioButton>
#include <QTimer>

// The view names what left it in the window's language; the hexadecimal form is drawn in a
// fixed-pitch font, so its columns line up.
void installReceiveView(TForm_Main& form) {
    TForm_Main* f = &form;
    form.mmo_RX->setDroppedNotice([f](qint64 dropped) {
        if (f->LanguageCode == QLatin1String("EN"))
            return QStringLiteral("[... the oldest %1 characters are no longer shown ...]").arg(dropped);
        return QStringLiteral("[... 最早的 %1 个字符已不再显示 ...]").arg(dropped);
    });
    form.mmo_RX->setFixedPitch(form.rbtn_Hex->isChecked());
    QObject::connect(form.rbtn_Hex, &QRadioButton::toggled, form.mmo_RX, &ReceiveLogView::setFixedPitch);
}

// Shows and logs a received block. Runs to its end without processing other events, so that
// blocks are shown in the order they arrived; the window stays responsive because the view
// draws at most every few dozen milliseconds, and only what is in sight. Replies are taken
// from the block by the device engine, after this.
void TForm_Main::Comm1ReceiveData(QObject*, const char* Buffer, int BufferLength) {
    tmr_RxLed->start();
    LogWire(false, Buffer, BufferLength);
    const QByteArray block = QByteArray::fromRawData(Buffer, BufferLength);

    if (chk_autoClearRxmmo->isChecked() && ShouldAutoClear(mmo_RX->length()))
        mmo_RX->clear();
    if (chk_showDT->isChecked())
        mmo_RX->appendText(TimeStampPrefix(QTime::currentTime(), RegionalFormats::system()));
    if (rbtn_Ascii->isChecked())
        mmo_RX->appendLatin1(block);
    else
        mmo_RX->appendHex(block);
}

void TForm_Main::btn_ClearRxmmoClick() {
    mmo_RX->clear();
}

void TForm_Main::chk_AutoNewLineClick() {
    const bool wrap = chk_AutoNewLine->isChecked();
    mmo_RX->setWrapping(wrap);
    mmo_RX->setHorizontalScrollBarPolicy(wrap ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
}
