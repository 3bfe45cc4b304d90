#pragma once

#include <QString>

class QObject;
class QTabWidget;

// The caption of a control as the language table speaks of it: a group box's title, a tab
// sheet's tab text, a button's, check box's, radio button's or label's text. Other kinds
// have none (empty; setting does nothing).
//
// Captions are shown as written: "&" is no keyboard-shortcut marker, and a doubled "&&"
// (written for the shortcut rule) shows as one "&" too. Reading gives the text as shown.
QString controlCaption(const QObject* control);
void setControlCaption(QObject* control, const QString& caption);

// The text a caption written in config.xml shows: each "&&" as one "&".
QString shownCaption(const QString& written);

// The tab control a generated control sits in (through its scroll box and tab sheet), or
// nullptr for a control that is on no page.
QTabWidget* pageControlOf(const QObject* control);
