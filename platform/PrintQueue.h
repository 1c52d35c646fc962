// SPDX-License-Identifier: MIT
// The print queues of CUPS: whether a queue takes jobs now, and a document handed to a
// queue as one job whose acceptance is read back. Qt's own print engine hands its file to
// CUPS without looking at the answer, so a job that the queue refused would pass for
// printed; a job handed over here is printed only when CUPS gave it a job id.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

enum class EQueueState {
    Accepting,  // the queue takes jobs (it may be paused: they wait in it)
    Refusing,   // the queue is not accepting jobs
    Unknown,    // the print system could not say; handing a job over will tell
};

// Whether the queue strQueue ("name" or "name/instance") takes jobs now.
EQueueState QueueState(const QString& strQueue);

// One job option as CUPS takes it, such as "sides" "two-sided-long-edge".
struct CJobOption {
    QByteArray name;
    QByteArray value;
};

struct CSubmittedJob {
    int nJobId = 0;    // the id CUPS gave the job; 0 when the job was not accepted
    QString strError;  // CUPS's reason when nJobId is 0
};

// Hands the PDF document pdf to the queue strQueue as one job named strTitle.
CSubmittedJob SubmitPdfJob(const QString& strQueue, const QString& strTitle, const QByteArray& pdf,
                           const QList<CJobOption>& options);
