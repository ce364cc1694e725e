// Profile records as QSettings reads them, and a field-by-field comparison: what the profile and
// configuration harnesses hold our readers to.
#pragma once

#include "profile/profiledata.h"

#include <QByteArray>
#include <QMap>
#include <QString>

#include <functional>

namespace mc::fuzz {

// The record QSettings reads from the file's group, by the rules of our reader: every key
// converted as QVariant converts it, a missing key giving the field's missing value, byte fields
// keeping the low eight bits. Fields of the walk that are skipped (the two sleep keys when
// withSleepKeys is false) keep the values of base, and so do the fields whose keys the file
// lacks when keepMissing is set (as an import reads them).
ProfileData readWithQSettings(const QString &path, const QString &group, bool withSleepKeys,
                              const ProfileData &base, bool keepMissing = false);

// Every key of before (a QSettings view of a file) that isOurs does not claim must read the same
// in the bytes written over that file. Those bytes are read by our reader, which the harnesses
// hold to QSettings on every input: QSettings takes seconds for a file of five profiles.
void checkKeptKeys(const QMap<QString, QString> &before, const QByteArray &after,
                   const std::function<bool(const QString &)> &isOurs);

// Every stored field of the record as the lines of a profile file: two records are equal when
// these are.
QByteArray recordText(const ProfileData &record);

// Fails with the first field that differs.
void checkSameRecord(const ProfileData &ours, const ProfileData &expected, const char *what);

} // namespace mc::fuzz
