#include "sim/DemoEnvironment.h"

#include "firmware/ReleaseServer.h"
#include "firmware/ZelFirmwareDataTool.h"
#include "platform/DocumentsDirectory.h"
#include "sim/DemoReleases.h"

#include <QTemporaryDir>

DemoEnvironment::DemoEnvironment(const QString& documents, const QString& server)
{
    if (documents.isEmpty()) {
        m_documents = std::make_unique<QTemporaryDir>();
        DocumentsDirectory::setPath(m_documents->path());
    }
    if (server.isEmpty()) {
        m_server = std::make_unique<ReleaseServer>(DemoReleases::folder());
        if (m_server->listen(QHostAddress::LocalHost, 0))
            ZelFirmwareDataTool::setServerOverride(m_server->baseUrl());
    }
}

DemoEnvironment::~DemoEnvironment() = default;

QString DemoEnvironment::documentsPath() const
{
    return DocumentsDirectory::path();
}

QString DemoEnvironment::serverUrl() const
{
    return ZelFirmwareDataTool::serverBaseUrl();
}
