#pragma once

#include "firmware/ZelFirmware.h"

#include <QList>
#include <QString>

#include <optional>

// What the connected and upgrade screens show as the latest version, from
// an answer of the release list: the newest release that would install, or
// why there is none. A server that could not be reached is not "no newer
// version": it says so, with the reason, and offers a retry.
class LatestReleaseText {
public:
    // error: the request's, empty when the list arrived; refusal: the
    // catalogue's, why it refused the list (signature, expiry, rollback).
    static LatestReleaseText make(const QList<ZelFirmware>& firmwares, const QString& error, const QString& refusal);

    // The newest release whose signature allows it, if any.
    std::optional<ZelFirmware> offered;
    // The latest version's place: the offered version, or what stands for it.
    QString value;
    // Why no release is offered when the list could not be had; empty otherwise.
    QString reason;
    // The same as the request's own words alone ("Connection refused"), for
    // where the value beside it already says the server could not be reached.
    QString cause;
    // Whether asking again may help: the server could not be reached.
    bool retry = false;
};
