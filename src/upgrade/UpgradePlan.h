#pragma once

#include <QList>
#include <QString>

// What a run will do, worked out once at its start: the images to send in
// the order the controller takes them (boot loader, left, right), each with
// its size, the messages its exchange takes and whether the controller
// restarts after it, and the sides left out because the controller already
// has them. The boot loader and the left image each end with a restart; the
// right image does not.
class UpgradePlan {
public:
    enum class Image { BootLoader, Left, Right };

    struct Step {
        Image image = Image::Right;
        QString path;
        // The bytes the controller receives (the boot loader's region, not
        // the whole file); -1 while the image is not at hand (a release not
        // downloaded yet).
        qint64 bytes = -1;
        // Messages of the exchange, each answered by one reply; -1 with the size unknown.
        int messages = -1;
        bool restartsAfter = false;
    };

    struct Need {
        bool boot = false, left = false, right = false;
    };
    struct Paths {
        QString boot, left, right;
    };

    UpgradePlan() = default;
    // The plan for the images that are needed; sizes are read from the
    // files (a missing or unreadable file leaves its size unknown).
    static UpgradePlan make(Need need, const Paths& paths);
    // The same from sizes already known (file sizes; -1 for unknown).
    static UpgradePlan fromFileSizes(Need need, qint64 bootFile, qint64 leftFile, qint64 rightFile);

    // An image's name for the user ("Boot loader", "Left side", "Right side").
    static QString imageName(Image image);
    // The bytes of a file the controller receives for an image.
    static qint64 sentBytes(Image image, qint64 fileBytes);
    // The messages an image of that many sent bytes takes: for the right
    // side the start command, one per packet, the checksum and the end; for
    // the left side and the boot loader the start and length commands, each
    // packet once to program and once to verify, and the end. A region
    // shorter than one packet goes out without start (and length) commands.
    static int messagesFor(Image image, qint64 sentBytes);

    const QList<Step>& steps() const { return m_steps; }
    const QList<Image>& skipped() const { return m_skipped; }
    bool isEmpty() const { return m_steps.isEmpty(); }
    int restarts() const;
    // -1 when any step's size is unknown.
    int totalMessages() const;
    qint64 totalBytes() const;
    // The index of the step that sends this image; -1 when it is not sent.
    int indexOf(Image image) const;

private:
    QList<Step> m_steps;
    QList<Image> m_skipped;
};
