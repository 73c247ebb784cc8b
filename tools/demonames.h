#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The words a demo office is made of: people, clients, courts, work items and tasks, in Portuguese.
namespace tools::demonames {

struct Court {
    QString code; // as written in the case number, e.g. "TBLSB"
    QString name;
    QString town;
};

const QStringList& firstNames();
const QStringList& surnames();
// Companies and institutions that are clients of the office.
const QStringList& companies();
const QStringList& towns();
const QList<Court>& courts();
// Work items of court cases and of other matters.
const QStringList& courtWork();
const QStringList& otherWork();
const QStringList& tasks();

} // namespace tools::demonames
