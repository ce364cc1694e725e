// Profile records as QSettings reads them, field-by-field comparison, the shape of a record for
// the round trips, and the check that rewriting a file keeps the keys that are not ours: what the
// profile and configuration harnesses hold our readers and writers to.
#pragma once

#include "fuzzsupport.h"

#include "profile/profiledata.h"

#include <QByteArray>
#include <QString>
#include <QVector>

#include <functional>

namespace mc {
class IniFile;
}

namespace mc::fuzz {

// The record QSettings reads from the file's group (its view), by the rules of our reader: every
// key converted as QVariant converts it, a missing key giving the field's missing value, byte
// fields keeping the low eight bits. Fields of the walk that are skipped (the two sleep keys when
// withSleepKeys is false) keep the values of base, and so do the fields whose keys the view
// lacks when keepMissing is set (as an import reads them).
ProfileData recordFromView(const View &view, const QString &group, bool withSleepKeys,
                           const ProfileData &base, bool keepMissing = false);

// Adds to parts the shapes of the values of the record's fields that the file's group holds a
// key for (Shapes): what a write and a read of the record could trip over. Which field holds a
// value is left out; every field's key is written and read whatever it holds.
void addRecordShape(QVector<QByteArray> &parts, const ProfileData &record,
                    const QStringList &fileKeys, const QString &group);

// Every key of before (QSettings' view of a file) that isOurs does not claim must read the same
// in the bytes written over that file, whose own part ends with the last field of group. Those
// bytes are read by our reader, which the harnesses hold to QSettings on every input.
void checkKeptKeys(const View &before, const QByteArray &after, const QString &group,
                   const std::function<bool(const QString &)> &isOurs);

// Every stored field of the record as the lines of a profile file: two records are equal when
// these are.
QByteArray recordText(const ProfileData &record);

// Fails with the first field that differs.
void checkSameRecord(const ProfileData &ours, const ProfileData &expected, const char *what);

} // namespace mc::fuzz
