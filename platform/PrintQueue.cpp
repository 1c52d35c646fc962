// SPDX-License-Identifier: MIT
#include "platform/PrintQueue.h"

#include <cups/cups.h>

#include <memory>
#include <vector>

namespace {

constexpr qsizetype kChunk = qsizetype{64} * 1024;

// The queue's name without its instance: an instance is a set of options kept by the
// client, not a queue of the server.
QByteArray QueueName(const QString& strQueue) {
    return strQueue.section(QLatin1Char('/'), 0, 0).toUtf8();
}

QString LastCupsError() {
    return QString::fromUtf8(cupsLastErrorString());
}

// Ends a job that was created but not completed, so that nothing of it waits in the queue.
void CancelJob(const QByteArray& queue, int nJobId) {
    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.constData(), nJobId, 0);
}

}  // namespace

EQueueState QueueState(const QString& strQueue) {
    const QByteArray queue = QueueName(strQueue);
    const std::unique_ptr<cups_dest_t, void (*)(cups_dest_t*)> pDest(
        cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr),
        [](cups_dest_t* p) { cupsFreeDests(1, p); });
    if (!pDest) {
        return EQueueState::Unknown;
    }
    const char* pszAccepting =
        cupsGetOption("printer-is-accepting-jobs", pDest->num_options, pDest->options);
    if (!pszAccepting) {
        return EQueueState::Unknown;
    }
    return qstrcmp(pszAccepting, "false") == 0 ? EQueueState::Refusing : EQueueState::Accepting;
}

CSubmittedJob SubmitPdfJob(const QString& strQueue, const QString& strTitle, const QByteArray& pdf,
                           const QList<CJobOption>& options) {
    const QByteArray queue = QueueName(strQueue);
    const QByteArray title = strTitle.toUtf8();
    std::vector<cups_option_t> cupsOptions;
    cupsOptions.reserve(size_t(options.size()));
    for (const CJobOption& option : options) {
        // CUPS only reads the strings it is given.
        cupsOptions.push_back({const_cast<char*>(option.name.constData()),
                               const_cast<char*>(option.value.constData())});
    }
    CSubmittedJob job;
    const int nJobId = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.constData(), title.constData(),
                                     int(cupsOptions.size()), cupsOptions.data());
    if (nJobId <= 0) {
        job.strError = LastCupsError();
        return job;
    }
    const bool bStarted =
        cupsStartDocument(CUPS_HTTP_DEFAULT, queue.constData(), nJobId, title.constData(),
                          CUPS_FORMAT_PDF, 1) == HTTP_STATUS_CONTINUE;
    bool bSent = bStarted;
    for (qsizetype nDone = 0; bSent && nDone < pdf.size(); nDone += kChunk) {
        const size_t nLength = size_t(qMin(kChunk, pdf.size() - nDone));
        bSent = cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData() + nDone, nLength) ==
                HTTP_STATUS_CONTINUE;
    }
    // A started document is finished even after a failed write: that ends the request.
    const bool bFinished = bStarted && cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.constData()) <=
                                           IPP_STATUS_OK_CONFLICTING;
    if (!bSent || !bFinished) {
        job.strError = LastCupsError();
        CancelJob(queue, nJobId);
        return job;
    }
    job.nJobId = nJobId;
    return job;
}
