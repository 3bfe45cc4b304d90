// The window's wiring of commissioning: its bar on the parameter pages, the bar's buttons,
// and what it hears of the operator's own Reads and Writes and of the port closing.

#include "app/MainFrm.h"
#include "console/Commissioning.h"
#include "console/CommissioningBar.h"
#include "console/Connection.h"
#include "ui/ShowingErrors.h"

#include <QGroupBox>
#include <QPushButton>
#include <QTabWidget>

// Made with the parameter group, in its place among the frame's controls: the order of
// creation is the order of the language tables' entries.
void TForm_Main::buildCommissioningBar() {
    m_commissioningBar = ::buildCommissioningBar(grp_DYNC, font(), language(),
                                                 [this](QPushButton* button, const QString& name) {
                                                     RegisterComponent(button, name);
                                                     setPopupMenu1(button);
                                                 });
    m_commissioningBar.pages = pg_DYNC;
}

// Once the device engine exists.
void TForm_Main::wireCommissioning() {
    const CommissioningControls& controls = m_commissioningBar;
    commissioning = new Commissioning(
        *Device, Parameters, ParameterControls, controls, [this] { return AppDir; }, this);

    // The part itself is captured, not the window: the handler outlives this function and
    // its helper closure.
    Commissioning* part = commissioning;
    auto click = [part](QPushButton* button, void (Commissioning::*action)()) {
        connect(button, &QPushButton::clicked, part,
                [part, action] { runShowingErrors([part, action] { (part->*action)(); }); });
    };
    click(controls.readPage, &Commissioning::readPage);
    click(controls.readAll, &Commissioning::readAllPages);
    click(controls.cancel, &Commissioning::cancel);
    click(controls.saveSnapshot, &Commissioning::saveSnapshot);
    click(controls.loadSnapshot, &Commissioning::loadSnapshot);
    click(controls.compare, &Commissioning::compareWithDevice);
    click(controls.writeSnapshot, &Commissioning::writeSnapshot);

    connect(connection, &Connection::portClosed, commissioning, &Commissioning::onPortClosed);
}
