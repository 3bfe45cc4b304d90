#pragma once

#include <QtGlobal>
#include <functional>

class QWidget;
class TForm_Main;

// What the benchmark asks of a receive view: how many characters (line breaks not counted)
// it has shown and has been given, and whether it shows everything it was given.
struct ReceiveViewProbe {
    std::function<qint64()> shownCharacters;
    std::function<qint64()> givenCharacters;
    std::function<bool()> caughtUp;
    QWidget* painted = nullptr; // the widget the text is drawn on
};

ReceiveViewProbe windowViewProbe(TForm_Main& form);
