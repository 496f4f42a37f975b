#pragma once

#include "platform/transport/EAAccessory.h"

#include <QString>

#include <memory>

class InputStream;
class OutputStream;

// A byte-stream session with an accessory for one protocol. Only one session
// may hold an accessory at a time.
class EASession {
public:
    // A session, or null when the accessory or protocol cannot be opened.
    static std::shared_ptr<EASession> create(const EAAccessoryPtr& accessory, const QString& protocolString);
    ~EASession();

    EAAccessoryPtr accessory() const { return m_accessory; }
    QString protocolString() const { return m_protocolString; }
    InputStream* inputStream() const { return m_input.get(); }
    OutputStream* outputStream() const { return m_output.get(); }

private:
    EASession() = default;
    EAAccessoryPtr m_accessory;
    QString m_protocolString;
    std::unique_ptr<InputStream> m_input;
    std::unique_ptr<OutputStream> m_output;
};
