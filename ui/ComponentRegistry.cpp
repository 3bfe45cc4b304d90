#include "ui/ComponentRegistry.h"

#include "config/AppError.h"
#include "ui/Controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

bool ComponentRegistry::isValidName(const QString& name) {
    if (name.isEmpty())
        return false;
    for (int i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        const bool letter = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_';
        const bool digit = c >= u'0' && c <= u'9';
        if (!letter && !(digit && i > 0))
            return false;
    }
    return true;
}

void ComponentRegistry::add(QObject* component, const QString& name) {
    if (!name.isEmpty()) {
        if (!isValidName(name))
            throw AppError(QStringLiteral("Component name \"%1\" is not a valid identifier").arg(name));
        const QString key = name.toLower();
        auto it = m_byName.constFind(key);
        if (it != m_byName.constEnd() && !it.value().isNull())
            throw AppError(QStringLiteral("A component named %1 already exists").arg(name));
        component->setObjectName(name);
        m_byName.insert(key, component);
    }
    m_order.emplace_back(component);
}

QObject* ComponentRegistry::find(const QString& name) const {
    if (name.isEmpty())
        return nullptr;
    return m_byName.value(name.toLower()).data();
}

std::vector<QObject*> ComponentRegistry::all() const {
    std::vector<QObject*> out;
    out.reserve(m_order.size());
    for (const auto& p : m_order)
        if (p)
            out.push_back(p.data());
    return out;
}

int componentTag(const QObject* component) {
    return component ? component->property("tag").toInt() : 0;
}
void setComponentTag(QObject* component, int tag) {
    component->setProperty("tag", tag);
}
QString componentName(const QObject* component) {
    return component ? component->objectName() : QString();
}

QString componentHint(const QObject* component) {
    auto* w = qobject_cast<const QWidget*>(component);
    return w ? w->toolTip() : QString();
}

void setComponentHint(QObject* component, const QString& hint) {
    if (auto* w = qobject_cast<QWidget*>(component))
        w->setToolTip(hint);
}

bool isGroupBox(const QObject* c) {
    return qobject_cast<const QGroupBox*>(c);
}
bool isTabSheet(const QObject* c) {
    return qobject_cast<const TTabSheet*>(c);
}
bool isPushButton(const QObject* c) {
    return qobject_cast<const QPushButton*>(c);
}
bool isLabel(const QObject* c) {
    return qobject_cast<const QLabel*>(c) && !qobject_cast<const TStaticText*>(c);
}
bool isStaticText(const QObject* c) {
    return qobject_cast<const TStaticText*>(c);
}
bool isEdit(const QObject* c) {
    return qobject_cast<const QLineEdit*>(c);
}
bool isComboBox(const QObject* c) {
    return qobject_cast<const QComboBox*>(c);
}
bool isCheckBox(const QObject* c) {
    return qobject_cast<const QCheckBox*>(c);
}
bool isRadioButton(const QObject* c) {
    return qobject_cast<const QRadioButton*>(c);
}
bool isPanel(const QObject* c) {
    return qobject_cast<const TPanel*>(c);
}
