#include "firmware/ZelFirmwareDataTool.h"

#include "firmware/FirmwareVersion.h"
#include "firmware/ReleaseSignature.h"
#include "firmware/ReleaseTrust.h"
#include "firmware/TrustState.h"
#include "lib/HttpClient.h"
#include "lib/MessageToast.h"
#include "platform/runtime/DocumentStore.h"
#include "platform/runtime/InfoDictionary.h"
#include "platform/runtime/Localization.h"
#include "platform/runtime/MainQueue.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {
QString g_serverOverride;

// The characters a URL query may hold as they are.
bool allowedInQuery(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
        || std::strchr("-._~!$&'()*+,;=:@/?", c) != nullptr;
}

const QString kListPath = QStringLiteral("/firmware/update/r1");

// A detached signature as served: its body when the server answered with
// success, empty when it answered that there is none.
QByteArray signatureOf(const HttpClient::Response& response)
{
    return response.status >= 200 && response.status <= 299 ? response.body : QByteArray();
}

// The limits of a request of the list's fetch.
HttpClient::Limits listLimits(qint64 maxBytes, double deadline)
{
    HttpClient::Limits limits;
    limits.silenceSeconds = ZelFirmwareDataTool::kRequestTimeout;
    limits.deadlineSeconds = deadline;
    limits.maxBytes = maxBytes;
    return limits;
}

// Two GETs one after the other, each answer limited to its size; the second
// is made only when the first got an HTTP answer (any status): no answer at
// all ends the fetch with its error.
void getBoth(const QUrl& first, qint64 firstLimit, const QUrl& second, qint64 secondLimit, double deadline,
    std::function<void(const HttpClient::Response&, const HttpClient::Response&)> done)
{
    HttpClient::get(
        first, listLimits(firstLimit, deadline), [second, secondLimit, deadline, done](const HttpClient::Response& a) {
            if (a.status == 0 && !a.tooLarge) {
                done(a, HttpClient::Response());
                return;
            }
            HttpClient::get(
                second, listLimits(secondLimit, deadline), [a, done](const HttpClient::Response& b) { done(a, b); });
        });
}

QString fetchError(const HttpClient::Response& response, double deadline)
{
    if (response.tooLarge)
        return localized("ReleaseListTooLarge").arg(ZelFirmwareDataTool::kMaxReleaseListBytes / (1024 * 1024));
    if (response.deadlineExceeded)
        return localized("ReleaseListDeadline").arg(deadline * MainQueue::timeScale());
    return response.error;
}

// Which pinned roots a followed chain began at.
QString anchorOf(const QList<QByteArray>& roots)
{
    QStringList ids;
    for (const QByteArray& key : roots)
        ids.append(ReleaseSignature::keyId(key));
    ids.sort();
    return ids.join(QLatin1Char(','));
}
} // namespace

ZelFirmwareDataTool& ZelFirmwareDataTool::sharedInstance()
{
    static ZelFirmwareDataTool* instance = new ZelFirmwareDataTool; // lives as long as the process
    return *instance;
}

void ZelFirmwareDataTool::setServerOverride(const QString& baseUrl)
{
    g_serverOverride = baseUrl;
}

QString ZelFirmwareDataTool::serverBaseUrl()
{
    QString base = g_serverOverride;
    if (base.isEmpty())
        base = qEnvironmentVariable("Q3DART_SERVER");
    if (base.isEmpty())
        base = QStringLiteral("http://") + InfoDictionary::mainBundle().string(QStringLiteral("Q3FirmwareServerHost"));
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

QByteArray ZelFirmwareDataTool::queryText(const QString& serverBaseUrl, const QString& shortVersion)
{
    const QString text = serverBaseUrl + QStringLiteral("/firmware/update/r1?") + QStringLiteral("ver=1.0-1.0-1.0")
        + QStringLiteral("&beta=0") + QStringLiteral("&name=") + kProductFolder + QStringLiteral("&appver=")
        + (shortVersion.isNull() ? QStringLiteral("1.0") : shortVersion) + QStringLiteral("&lang=zh");
    QByteArray encoded;
    for (char c : text.toUtf8()) {
        if (allowedInQuery(c))
            encoded.append(c);
        else
            encoded.append('%').append(QByteArray::number(uint8_t(c), 16).rightJustified(2, '0').toUpper());
    }
    return encoded;
}

QString ZelFirmwareDataTool::localFirmwareFolder()
{
    return DocumentStore::current().localProductFolder();
}

void ZelFirmwareDataTool::sortNewestFirst(QList<ZelFirmware>& records, QStringList* refused)
{
    QList<std::pair<ReleaseVersion, ZelFirmware>> readable;
    for (const ZelFirmware& f : std::as_const(records)) {
        if (const std::optional<ReleaseVersion> version = ReleaseVersion::parse(f.version))
            readable.append({ *version, f });
        else if (refused)
            refused->append(f.version);
    }
    std::stable_sort(readable.begin(), readable.end(),
        [](const auto& a, const auto& b) { return a.first.newerInOrderThan(b.first); });
    records.clear();
    for (const auto& entry : std::as_const(readable))
        records.append(entry.second);
}

QList<ZelFirmware> ZelFirmwareDataTool::getLocalFirmwares() const
{
    const QString folder = localFirmwareFolder();
    QList<ZelFirmware> records;
    for (const QString& name : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden, QDir::NoSort)) {
        if (name == QLatin1String("__MACOSX"))
            continue;
        ZelFirmware f;
        f.version = name;
        f.path = folder + QLatin1Char('/') + name;
        f.updateInfo = f.md5 = f.updateTime = QStringLiteral("");
        records.append(f);
    }
    refusedVersions.clear();
    sortNewestFirst(records, &refusedVersions);
    return records;
}

void ZelFirmwareDataTool::getRemoteFirmwares(RemoteCompletion completion)
{
    if (firmwaresDate.isValid() && firmwares) {
        const double age = firmwaresDate.msecsTo(clock()) / 1000.0;
        if (age <= kReuseSeconds && (!m_firmwaresExpire.isValid() || clock() < m_firmwaresExpire)) {
            if (completion)
                completion(*firmwares, QString());
            return;
        }
    }
    const QString shortVersion
        = InfoDictionary::mainBundle().value(QStringLiteral("CFBundleShortVersionString")).isValid()
        ? InfoDictionary::mainBundle().string(QStringLiteral("CFBundleShortVersionString"))
        : QString();
    const QUrl url = QUrl::fromEncoded(queryText(serverBaseUrl(), shortVersion));
    refusal.clear();
    if (ReleaseSignature::hasTrustedKeys()) {
        getSignedFirmwares(url, completion);
        return;
    }
    HttpClient::getJSON(url, listLimits(kMaxReleaseListBytes, listDeadline),
        [this, completion](const HttpClient::Response& response, const QJsonValue& reply) {
            if (!response.error.isEmpty()) {
                if (completion)
                    completion({}, fetchError(response, listDeadline));
                return;
            }
            accept(ZelFirmware::modelArrayWithJSON(reply.toObject().value(QStringLiteral("data"))), QDateTime(),
                completion);
        });
}

void ZelFirmwareDataTool::accept(
    QList<ZelFirmware> records, const QDateTime& expires, const RemoteCompletion& completion)
{
    refusal.clear();
    for (ZelFirmware& f : records)
        f.listed = true;
    refusedVersions.clear();
    sortNewestFirst(records, &refusedVersions);
    if (records.isEmpty()) {
        if (completion)
            completion({}, QString());
        return;
    }
    firmwares = records;
    firmwaresDate = clock();
    m_firmwaresExpire = expires;
    if (completion)
        completion(*firmwares, QString());
}

void ZelFirmwareDataTool::getSignedFirmwares(const QUrl& url, const RemoteCompletion& completion)
{
    const QString server = serverBaseUrl();
    const double deadline = listDeadline;
    auto answer = std::make_shared<ReleaseTrust::Answer>();
    auto root = std::make_shared<Root>();
    // A refusal also ends the reuse of the list stored before: the user is
    // told, not shown an older list as current.
    auto refuse = [this, completion](const QString& why) {
        refusal = why;
        firmwares.reset();
        firmwaresDate = QDateTime();
        if (completion)
            completion({}, why);
    };
    auto fail = [completion](const QString& error) {
        if (completion)
            completion({}, error);
    };
    auto judge = [this, server, answer, root, completion, refuse] {
        TrustState state;
        TrustState::Seen seen;
        ReleaseTrust::Verdict verdict;
        if (!state.seen(server, &seen, &verdict.detail))
            verdict.refusal = ReleaseTrust::Refusal::StateDamaged;
        else
            verdict = ReleaseTrust::judge(*answer, root->keys, ReleaseSignature::trustedKeys(), seen, clock().toUTC());
        // A key set that verified counts from now on, whatever the list
        // beside it is worth: an older one, which may name a revoked key,
        // is not taken back later.
        if (verdict.keySetAccepted) {
            ReleaseSignature::setKeySetKeys(verdict.keySetKeys);
            if (verdict.refusal != ReleaseTrust::Refusal::None) {
                QString unsaved;
                if (!state.remember(server, { 0, verdict.accepted.keySetVersion }, &unsaved))
                    MessageToast::showMsgWithtext(localized("ReleaseTrustStateNotSaved").arg(state.path(), unsaved),
                        MessageToast::kDefaultSeconds * 2);
            }
        }
        // The first contact trusts what it finds; from then on the versions
        // only rise, and what cannot be recorded is not accepted.
        if (verdict.refusal == ReleaseTrust::Refusal::None
            && !state.remember(server, verdict.accepted, &verdict.detail))
            verdict.refusal = ReleaseTrust::Refusal::StateNotSaved;
        if (verdict.refusal != ReleaseTrust::Refusal::None)
            return refuse(ReleaseTrust::message(verdict, state.path()));
        accept(ZelFirmware::modelArrayWithJSON(verdict.list.value(QStringLiteral("data"))),
            ReleaseTrust::parseTime(verdict.list.value(ReleaseTrust::kExpiresKey).toString()), completion);
    };
    auto getList = [url, server, answer, deadline, fail, judge] {
        getBoth(url, kMaxReleaseListBytes, QUrl(server + kListPath + ReleaseTrust::kSignatureSuffix),
            ReleaseTrust::kMaxSignatureSize, deadline,
            [answer, deadline, fail, judge](const HttpClient::Response& list, const HttpClient::Response& signature) {
                // The list itself must arrive as the server's JSON answer;
                // its signature is judged with it.
                QString error = fetchError(list, deadline);
                if (error.isEmpty() && !HttpClient::isJsonContentType(list.contentType))
                    error = QStringLiteral("unexpected content type \"%1\"").arg(QString::fromLatin1(list.contentType));
                if (!error.isEmpty() || signature.status == 0)
                    return fail(error.isEmpty() ? fetchError(signature, deadline) : error);
                answer->list = list.body;
                answer->listSignature = signatureOf(signature);
                judge();
            });
    };
    if (!ReleaseSignature::hasTrustedRoot()) {
        getList();
        return;
    }
    auto getKeySet = [server, answer, deadline, fail, getList] {
        const QString keySet = server + ReleaseTrust::kKeySetPath;
        getBoth(QUrl(keySet), kMaxReleaseListBytes, QUrl(keySet + ReleaseTrust::kSignatureSuffix),
            ReleaseTrust::kMaxSignatureSize, deadline,
            [answer, deadline, fail, getList](const HttpClient::Response& keys, const HttpClient::Response& signature) {
                if ((keys.status == 0 && !keys.tooLarge) || (signature.status == 0 && !signature.tooLarge))
                    return fail(fetchError(keys.status == 0 ? keys : signature, deadline));
                // A key set that is not served is judged as unsigned.
                answer->keySet = signatureOf(keys);
                answer->keySetSignature = signatureOf(signature);
                getList();
            });
    };
    // The chain starts at the newest root followed before, while the
    // application still pins the root it began at; else at the pinned root.
    const QList<QByteArray> pinned = ReleaseSignature::trustedRoots();
    Root start { 1, pinned, anchorOf(pinned) };
    TrustState::Seen seen;
    QString problem;
    if (!TrustState().seen(server, &seen, &problem)) {
        ReleaseTrust::Verdict damaged;
        damaged.refusal = ReleaseTrust::Refusal::StateDamaged;
        damaged.detail = problem;
        return refuse(ReleaseTrust::message(damaged, TrustState::defaultPath()));
    }
    if (seen.rootVersion > 0 && seen.rootAnchor == start.anchor)
        start = Root { seen.rootVersion, seen.rootKeys, seen.rootAnchor };
    followRoots(server, start, 0, [root, getKeySet, fail, refuse](const Root& followed, const QString& error) {
        if (!error.isEmpty())
            return followed.keys.isEmpty() ? fail(error) : refuse(error);
        *root = followed;
        getKeySet();
    });
}

void ZelFirmwareDataTool::followRoots(
    const QString& server, Root root, int steps, std::function<void(const Root&, const QString&)> done)
{
    const QString next = server + ReleaseTrust::rootPath(root.version + 1);
    getBoth(QUrl(next), kMaxReleaseListBytes, QUrl(next + ReleaseTrust::kSignatureSuffix),
        ReleaseTrust::kMaxSignatureSize * 4, listDeadline,
        [this, server, root, steps, done](const HttpClient::Response& document, const HttpClient::Response& signature) {
            // No answer at all: the fetch fails as any fetch does.
            if ((document.status == 0 && !document.tooLarge) || (signature.status == 0 && !signature.tooLarge))
                return done({}, fetchError(document.status == 0 ? document : signature, listDeadline));
            // No next root (a static host answers 404, object storage 403):
            // the one held is the newest.
            if (document.status < 200 || document.status > 299)
                return done(root, QString());
            const ReleaseTrust::RootStep step
                = ReleaseTrust::nextRoot(signatureOf(document), signatureOf(signature), root.keys, root.version);
            if (step.refusal != ReleaseTrust::Refusal::None || steps + 1 > ReleaseTrust::kMaxRootSteps) {
                ReleaseTrust::Verdict verdict;
                verdict.refusal = ReleaseTrust::Refusal::RootSignature;
                verdict.offered = step.version;
                return done(root, ReleaseTrust::message(verdict));
            }
            // Remembered at once: an older root cannot come back, whatever
            // becomes of the rest of this fetch.
            const Root followed { step.version, step.keys, root.anchor };
            TrustState state;
            TrustState::Seen seen;
            seen.rootVersion = followed.version;
            seen.rootKeys = followed.keys;
            seen.rootAnchor = followed.anchor;
            QString unsaved;
            if (!state.remember(server, seen, &unsaved)) {
                ReleaseTrust::Verdict verdict;
                verdict.refusal = ReleaseTrust::Refusal::StateNotSaved;
                verdict.detail = unsaved;
                return done(root, ReleaseTrust::message(verdict, state.path()));
            }
            followRoots(server, followed, steps + 1, done);
        });
}
