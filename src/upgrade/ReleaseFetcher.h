#pragma once

#include "firmware/ZelFirmware.h"
#include "platform/runtime/DocumentStore.h"
#include "upgrade/UpgradeReason.h"

#include <QString>

#include <functional>
#include <memory>

// Finds the three images of a selected release: in its own folder, in the
// unpacked download recorded for its version, or by downloading its archive
// (streamed to disk under a name made from its version alone), checking its
// digest and, with a key trusted, its signature, and unpacking it. One fetch
// at a time; dropping the fetcher aborts its download: the partial file goes
// and its completion does nothing.
class ReleaseFetcher {
public:
    static inline const QString kBootFileName = QStringLiteral("V7E_IAP.bin");
    static inline const QString kLeftFileName = QStringLiteral("V7E_ISP.bin");
    static inline const QString kRightFileName = QStringLiteral("Q3_RIGHT.bin");
    static constexpr double kRecordMessageSeconds = 6.0;

    // Where a download ends, in seconds on the main queue's time scale.
    struct Limits {
        qint64 maxBytes = 0;
        double silenceSeconds = 0.0;
        qint64 minBytesPerSecond = 0;
        double slowSeconds = 0.0;
    };
    struct Images {
        QString boot, left, right;
    };
    enum class Step { Download, DigestCheck, Unpack };
    // What a fetch reports; each hook is tested before it is called. Exactly
    // one of ready and failed ends a fetch that is not aborted, perhaps
    // before fetch() returns.
    struct Hooks {
        std::function<void(Step)> step;
        std::function<void(qint64 received, qint64 total)> progress;
        std::function<void(const Images&)> ready;
        std::function<void(const UpgradeReason&)> failed;
    };

    ReleaseFetcher() = default;
    ~ReleaseFetcher();
    ReleaseFetcher(const ReleaseFetcher&) = delete;
    ReleaseFetcher& operator=(const ReleaseFetcher&) = delete;

    // Starts finding release's images, ending a fetch under way first; a
    // download is stored, recorded and unpacked in documents.
    void fetch(const ZelFirmware& release, const DocumentStore& documents, const Limits& limits, Hooks hooks);
    // The same for a release that is downloaded whatever its address says
    // (or, without a key trusted, found where an earlier download was unpacked).
    void download(const ZelFirmware& release, const DocumentStore& documents, const Limits& limits, Hooks hooks);
    // Ends the download under way, if any, without a word.
    void abort();
    bool isDownloading() const { return static_cast<bool>(m_abortDownload); }

    // Fills images with the image files folder holds, by name; true when it
    // holds all three.
    static bool findImages(const QString& folder, Images& images);
    // With a trusted key: the reason release may not be installed, or None
    // when its signature verifies.
    static UpgradeReason signatureRefusal(const ZelFirmware& release);

private:
    void begin(const ZelFirmware& release, const DocumentStore& documents, const Limits& limits, Hooks hooks);
    void fetchRemote();
    void downloadFinished(const QString& filePath);
    // The images in folder are handed on, or the fetch fails naming the
    // missing ones and the version's record is forgotten.
    void finishIn(const QString& folder);
    void fail(const UpgradeReason& reason);

    ZelFirmware m_release;
    DocumentStore m_documents { QString() };
    Limits m_limits;
    Hooks m_hooks;
    std::function<void()> m_abortDownload;
    // The download alive now; a completion of another one is not used.
    std::shared_ptr<int> m_download;
};
