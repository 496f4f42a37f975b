#pragma once

class QApplication;

// The companion's look: the dark theme and fonts that show Chinese and
// Japanese text as well as Latin.
class AppStyle {
public:
    static void apply(QApplication& app);
};
