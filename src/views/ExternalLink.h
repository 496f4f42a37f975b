#pragma once

class QUrl;
class QWidget;

// Addresses that leave the application for the desktop's web browser. When
// no browser can be started the user is not left with nothing: the link is
// shown, selectable, with a button that copies it.
class ExternalLink {
public:
    // Whether a browser was started; when not, the dialog is open over parent.
    static bool open(const QUrl& url, QWidget* parent);
};
