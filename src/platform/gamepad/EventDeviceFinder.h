#pragma once

#include "platform/gamepad/GCController.h"

#include <QString>

// Finds the kernel's event device (/dev/input/eventN) of a game controller
// that SDL has opened: the node SDL itself reads, when it reads one; else
// the one the kernel's device list gives the controller's vendor and product
// (and, among several, its name), leaving out a pad's separate motion-sensor
// node. Two identical pads cannot be told apart there: then none is taken.
class EventDeviceFinder {
public:
    static constexpr const char* kClassFolder = "/sys/class/input";
    // The kernel's flag of a node that carries a pad's motion sensors.
    static constexpr int kAccelerometerProperty = 6;

    struct Result {
        QString node; // empty when none was found
        GCControllerClockReason reason = GCControllerClockReason::None;
    };

    // sdlPath: where SDL reads the device (may be empty, or a hidraw node);
    // vendorId, productId: -1 when unknown. deviceFolder and classFolder: the
    // kernel's, or a test's own.
    static Result find(const QString& sdlPath, int vendorId, int productId, const QString& name,
        const QString& deviceFolder, const QString& classFolder = QString::fromLatin1(kClassFolder));
};
