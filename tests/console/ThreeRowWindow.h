#pragma once

// A window of one page with a plain, a hexadecimal and a choice row (addresses 5, 6 and 7),
// whose received bytes and Read presses a test hands in directly.

#include "PageBuilderFixture.h"

#include <gtest/gtest.h>

struct ThreeRowWindow : TestWindow {
    ThreeRowWindow() : TestWindow(config()) { EXPECT_EQ(build(), ""); }
    static TestConfig config() {
        TestConfig c;
        c.dync = "<GROUP_DYNC><T caption=\"t\"><Plain caption=\"c\" hint=\"h\" addr=\"5\"/>"
                 "<Mask caption=\"c\" hint=\"h\" addr=\"6\" type=\"HEX\"/>"
                 "<Mode caption=\"c\" hint=\"h\" addr=\"7\" controlType=\"ComboBox\" items=\"慢|快\" "
                 "itemsValue=\"0|1\"/></T></GROUP_DYNC>";
        c.language = "<LANGUAGE value=\"CN\"><COMPONETS><COMBOBOX><E name=\"cbb_Mode\" itemsCN=\"\" "
                     "itemsEN=\"\"/></COMBOBOX></COMPONETS><MESSAGES/></LANGUAGE>";
        return c;
    }
    void receive(const QByteArray& bytes) { form->Device->feed(bytes); }
    // The operator's Read of a row, on a line that takes every byte; returns once it waits
    // for its reply.
    void read(const QString& tag) {
        form->Device->setWriter([](QByteArrayView) { return true; });
        form->sending->readRow(tag);
        EXPECT_TRUE(waitFor([&] { return form->Device->queued() == 0 && !form->Device->idle(); }));
    }
};
