#pragma once

#include <QWidget>

class QAbstractButton;

// A full-size screen or overlay. Screens are created once, added to the root
// view for good, and afterwards only shown and hidden; some attach work of
// their own to that (asking for versions, closing the accessory session).
//
// That work runs on every show and hide that code asks for, whichever way it
// is asked: show(), hide(), setVisible() or setHidden(). It runs on every
// call, also when the screen already had that visibility. Qt's own
// implicit showing never reaches a screen: a screen stays hidden until it is
// shown, also when its parent is shown or it is put into a layout. A shown
// screen given another parent is hidden by Qt, and its hiding work runs, as
// it is no longer seen.
class ZelBaseView : public QWidget {
    Q_OBJECT
public:
    explicit ZelBaseView(QWidget* parent = nullptr);

    // Applies the visibility, then runs didSetHidden.
    void setVisible(bool visible) override;

    // Makes a newly added screen visible, as a new view starts out, without
    // the work of its showing: that belongs to the screen being shown later.
    void showAsNewlyAdded();

    // The loaded content, pinned to all four edges.
    QWidget* contentView = nullptr;

protected:
    // The screen's own work after each show (hidden false) or hide (hidden true).
    virtual void didSetHidden(bool hidden);

    bool event(QEvent* event) override;
    // Makes content this screen's contentView and pins it to the four edges,
    // and gives its close buttons their one look.
    void pinContentView(QWidget* content);

public:
    // Every close button of the application looks and acts alike: a round
    // 36-pixel button with the close icon, reached by the keyboard, named for
    // assistive technology.
    static constexpr int kCloseButtonSize = 36;
    static void setUpCloseButton(QAbstractButton* button);
};
