#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QString>
#include <vector>

// The window's components in creation order (template controls first, then generated
// ones), found by name as the window's own lookup does: names are case-insensitive and
// unique. Unnamed components take part in walks but not in lookups.
class ComponentRegistry {
public:
    // Registers a component under a name (may be empty). Throws AppError when the name is not
    // an identifier or is taken.
    void add(QObject* component, const QString& name);
    QObject* find(const QString& name) const;
    // Every live component, in creation order.
    std::vector<QObject*> all() const;
    int size() const { return static_cast<int>(m_order.size()); }

    static bool isValidName(const QString& name);

private:
    std::vector<QPointer<QObject>> m_order;
    QHash<QString, QPointer<QObject>> m_byName;
};

// Per-component data the window's code keys on.
int componentTag(const QObject* component);
void setComponentTag(QObject* component, int tag);
QString componentName(const QObject* component);
// The hint is the widget's tooltip.
QString componentHint(const QObject* component);
void setComponentHint(QObject* component, const QString& hint);

// Kind tests as the window's code distinguishes controls.
bool isGroupBox(const QObject* c);
bool isTabSheet(const QObject* c);
bool isPushButton(const QObject* c);
bool isLabel(const QObject* c); // a template label, not a generated static text
bool isStaticText(const QObject* c);
bool isEdit(const QObject* c);
bool isComboBox(const QObject* c);
bool isCheckBox(const QObject* c);
bool isRadioButton(const QObject* c);
bool isPanel(const QObject* c);
