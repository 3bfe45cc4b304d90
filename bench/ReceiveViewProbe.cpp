#include "ReceiveViewProbe.h"

#include "app/MainFrm.h"

#include <QPlainTextEdit>

ReceiveViewProbe windowViewProbe(TForm_Main& form) {
    QPlainTextEdit* box = form.mmo_RX;
    auto shown = [box] { return qint64(box->document()->characterCount() - box->document()->blockCount()); };
    return {shown, [] { return true; }};
}
