#pragma once

#include <QWidget>

// A full-size screen or overlay. Screens are created once, added to the root
// view for good, and afterwards only shown and hidden; some attach work of
// their own to that, so the root controller shows and hides them through
// setHidden, which subclasses extend.
class ZelBaseView : public QWidget {
    Q_OBJECT
public:
    explicit ZelBaseView(QWidget* parent = nullptr);

    // Applies the visibility, then whatever the screen does on showing or hiding.
    virtual void setHidden(bool hidden);

    // The loaded content, pinned to all four edges.
    QWidget* contentView = nullptr;

protected:
    // Makes content this screen's contentView and pins it to the four edges.
    void pinContentView(QWidget* content);
};
