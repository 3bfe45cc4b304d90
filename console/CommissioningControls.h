#pragma once

class QProgressBar;
class QPushButton;
class QTabWidget;
class QWidget;

// The widgets commissioning shows and reads: its bar on the parameter pages (made by
// buildCommissioningBar) and the pages themselves, for the one in view and each page's name.
struct CommissioningControls {
    QWidget* panel = nullptr;
    QPushButton* readPage = nullptr;
    QPushButton* readAll = nullptr;
    QPushButton* cancel = nullptr;
    QPushButton* saveSnapshot = nullptr;
    QPushButton* loadSnapshot = nullptr;
    QPushButton* compare = nullptr;
    QPushButton* writeSnapshot = nullptr;
    QProgressBar* progress = nullptr;
    QTabWidget* pages = nullptr;
};
