#pragma once

#include "config/XmlDocument.h"

#include <QPalette>

class QTabWidget;
class QWidget;
class TForm_Main;
class TScrollBox;
class TTabSheet;

// A parameter row's controls are named after its item's tag: "edt_" or "cbb_" + tag for the
// value box, "btn_Read_" and "btn_Write_" + tag for its buttons (the language table and the
// settings editor know them by these names). The builder also keeps each row's controls by
// the tag (the window's ParameterControls), which ties a button to its own row even where
// several rows share an address.

// The item tag of a row's value box.
QString rowTagOf(const QObject* valueControl);

enum class PageFamily { Parameter, Fixed, AutoRead };

// Creates the generated tab pages and their rows on the main window. Every control is
// registered with the window before its looks are set, so names clash (and the build stops)
// before anything of the control becomes visible, and name-keyed colours find their control.
class PageRowFactory {
public:
    explicit PageRowFactory(TForm_Main& form) : m_form(form) {}

    struct Page {
        TTabSheet* sheet = nullptr;
        TScrollBox* box = nullptr; // rows sit on its content()
        QString tag;
    };

    // The tab sheet "tbs_" + tag with its caption, added to pages, and its scroll box.
    Page addPage(QTabWidget* pages, const XmlNode& tab, PageFamily family);

    // p is the item's position among the tab's children; separators count.
    void addSeparator(const Page& page, int p);
    void addParameterRow(const Page& page, const XmlNode& item, int p);
    void addFixedRow(const Page& page, const XmlNode& item, int p);
    void addAutoReadRow(const Page& page, const XmlNode& item, int p);
    // The row its page's family makes of the item (a separator on a parameter page).
    void addRow(PageFamily family, const Page& page, const XmlNode& item, int p);

    static int rowTop(int p) { return 25 * p + 10; }

private:
    // The three parts of a parameter row: caption label, value field, Read and Write buttons.
    QString addParameterLabel(const Page& page, const XmlNode& item, int top, int addr); // gives the hint
    void addParameterValue(const Page& page, const XmlNode& item, int top, int addr, const QString& hint);
    void addReadWriteButtons(const Page& page, const QString& tag, int top, int addr);
    template <class T> T* create(const QString& name, const Page& page);
    int defaultHeight(QWidget* w, int& cached);

    TForm_Main& m_form;
    int m_editHeight = -1;
    int m_comboHeight = -1;
    int m_buttonHeight = -1;
    QPalette m_redLabelPalette;
};
