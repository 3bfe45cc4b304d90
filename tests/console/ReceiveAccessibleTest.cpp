// Assistive technology reads the receive view as it reads a read-only text box.
#include "console/ReceiveLogView.h"
#include "support/TestApp.h"

#include <QAccessible>
#include <gtest/gtest.h>

#include <vector>

namespace {

struct Announcement {
    QAccessible::Event type;
    int position;
    QString text;
};

std::vector<Announcement> heard;

void hear(QAccessibleEvent& event) {
    if (event.type() == QAccessible::TextInserted) {
        auto& inserted = static_cast<QAccessibleTextInsertEvent&>(event);
        heard.push_back({event.type(), inserted.changePosition(), inserted.textInserted()});
    } else if (event.type() == QAccessible::TextUpdated) {
        auto& updated = static_cast<QAccessibleTextUpdateEvent&>(event);
        heard.push_back({event.type(), updated.changePosition(), updated.textInserted()});
    }
}

QByteArray megabyteOfLines() {
    QByteArray data;
    for (int i = 0; data.size() < (1 << 20); ++i)
        data += "row " + QByteArray::number(i).rightJustified(6, '0') +
                " temperature=" + QByteArray::number(i % 97) + " state ok\r\n";
    return data;
}

TEST(ReceiveViewAccessibility, ReadsAsATextBoxAfterAMegabyte) {
    testApp();
    ReceiveLogView view;
    view.resize(400, 200);
    view.show();
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(&view);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->role(), QAccessible::EditableText);
    EXPECT_TRUE(box->state().readOnly);
    EXPECT_TRUE(box->state().multiLine);
    EXPECT_FALSE(box->text(QAccessible::Name).isEmpty()) << "named even without a name given";
    QAccessibleTextInterface* text = box->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 0);

    const QByteArray data = megabyteOfLines();
    for (qsizetype at = 0; at < data.size(); at += 4096)
        view.appendLatin1(QByteArrayView(data).sliced(at, std::min<qsizetype>(4096, data.size() - at)));
    const QString expected = QString::fromLatin1(data).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ASSERT_EQ(text->characterCount(), expected.size());
    EXPECT_EQ(box->text(QAccessible::Value), expected);
    EXPECT_EQ(text->text(0, text->characterCount()), expected);
    EXPECT_EQ(text->text(500000, 500100), expected.mid(500000, 100));
    EXPECT_EQ(text->text(expected.size() - 10, expected.size() + 50), expected.right(10))
        << "clamped at the end";

    // A line is read with its line break; a word within its line.
    int start = 0, end = 0;
    const int inLine = 700003;
    const QString line = text->textAtOffset(inLine, QAccessible::LineBoundary, &start, &end);
    EXPECT_EQ(start, expected.lastIndexOf(u'\n', inLine) + 1);
    EXPECT_EQ(end, expected.indexOf(u'\n', inLine) + 1);
    EXPECT_EQ(line, expected.mid(start, end - start));
    EXPECT_TRUE(line.startsWith(QStringLiteral("row ")));
    const QString next = text->textAfterOffset(inLine, QAccessible::LineBoundary, &start, &end);
    EXPECT_EQ(start, expected.indexOf(u'\n', inLine) + 1);
    EXPECT_TRUE(next.startsWith(QStringLiteral("row ")) && next.endsWith(u'\n'));
    const int wordAt = expected.indexOf(QStringLiteral("temperature"), inLine) + 3;
    EXPECT_EQ(text->textAtOffset(wordAt, QAccessible::WordBoundary, &start, &end),
              QStringLiteral("temperature"));
    EXPECT_EQ(text->textAtOffset(wordAt, QAccessible::CharBoundary, &start, &end), QStringLiteral("p"));

    // Selection and caret, both ways.
    text->setSelection(0, 100, 260);
    EXPECT_EQ(view.selectedText(), expected.mid(100, 160));
    EXPECT_EQ(text->selectionCount(), 1);
    text->selection(0, &start, &end);
    EXPECT_EQ(start, 100);
    EXPECT_EQ(end, 260);
    text->removeSelection(0);
    EXPECT_EQ(text->selectionCount(), 0);
    view.selectAll();
    text->selection(0, &start, &end);
    EXPECT_EQ(end - start, expected.size());
    text->setCursorPosition(300);
    EXPECT_EQ(text->cursorPosition(), 300);

    // The end is in view: its characters have places on screen, and back.
    ASSERT_TRUE(waitFor([&] { return view.drawnCharacters() == view.receivedCharacters(); }));
    const int visible = expected.size() - 5;
    const QRect place = text->characterRect(visible);
    ASSERT_FALSE(place.isEmpty());
    EXPECT_EQ(text->offsetAtPoint(place.center()), visible);
    EXPECT_TRUE(text->characterRect(10).isEmpty()) << "the start is far out of view";
}

TEST(ReceiveViewAccessibility, AnnouncesNewTextInFewAnnouncementsThatAddUp) {
    testApp();
    heard.clear();
    ReceiveLogView view;
    view.setAnnouncer(hear);
    view.show();
    view.appendLatin1("hello\r\n");
    ASSERT_TRUE(waitFor([] { return !heard.empty(); }));
    EXPECT_EQ(heard.front().text, QStringLiteral("hello\n"));
    EXPECT_EQ(heard.front().position, 0);

    QString sent;
    for (int i = 0; i < 40; ++i) {
        const QByteArray piece = "value " + QByteArray::number(i) + "\r\n";
        view.appendLatin1(piece);
        sent += QString::fromLatin1(piece).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        QCoreApplication::processEvents();
    }
    ASSERT_TRUE(waitFor([&] { return heard.back().position + heard.back().text.size() == view.length(); }));
    QString later;
    int position = 6;
    for (std::size_t i = 1; i < heard.size(); ++i) {
        EXPECT_EQ(heard[i].type, QAccessible::TextInserted);
        EXPECT_EQ(heard[i].position, position) << "each takes up where the one before ended";
        position += int(heard[i].text.size());
        later += heard[i].text;
    }
    EXPECT_EQ(later, sent);
    EXPECT_LT(heard.size(), 40u) << "announced together, not block by block";

    view.clear();
    ASSERT_TRUE(waitFor([] { return heard.back().type == QAccessible::TextUpdated; }));
    view.appendLatin1("again");
    ASSERT_TRUE(waitFor([] { return heard.back().type == QAccessible::TextInserted; }));
    EXPECT_EQ(heard.back().position, 0) << "after a clear the text starts anew";
    EXPECT_EQ(heard.back().text, QStringLiteral("again"));
}

} // namespace
