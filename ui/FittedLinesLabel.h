#pragma once

#include <QLabel>

// A label for a few short lines of changing text (counts, times) in a panel whose size the
// window decides. It never clips: a line wider than the label is cut with "…", lines below
// its height are folded into an ellipsis on the last one that fits, and then the whole text
// is the tooltip. Docked, it asks its dock for the height of `lines` lines of its own font,
// again whenever the font changes (language, theme).
class FittedLinesLabel : public QLabel {
    Q_OBJECT
public:
    explicit FittedLinesLabel(int lines, QWidget* parent = nullptr);

    void setFullText(const QString& text);
    const QString& fullText() const { return m_full; }
    // The height that shows the label's number of lines whole.
    int neededHeight() const;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void fit();

    int m_lines;
    QString m_full;
};
