#include "app/MainFrm.h"

// The banner and the serial component join the frame here once their subsystems exist.
TWaterImage* TForm_Main::createBanner(QWidget*) {
    return nullptr;
}
TComm* TForm_Main::createComm() {
    return nullptr;
}
bool TForm_Main::loadBanner(const QString&) {
    return false;
}
void TForm_Main::stopSerialPort() {}
