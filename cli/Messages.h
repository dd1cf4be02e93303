#pragma once

#include "StoredState.h"

#include <QString>

// The refusals that only hangarctl makes: the window has no settings to find, no typed name to
// look up and no lock to share. Every other message is the core's, shared with the window.
namespace Messages {

QString foldersNotKnown(const QString& settingsFile);
// A name that the list does not hold, and why the list may be short.
QString notListed(const StoredState& state, const QString& name);
QString folderMissing(const QString& folder);
QString heldByWindow(const QString& settingsFile, qint64 holder);
QString heldByCommand(const QString& settingsFile, qint64 holder, qint64 seconds);
QString lockUnavailable(const QString& lockFile);
QString noInstallFound();
QString unreadablePair(const QString& name, const QString& reason);
// A Load replaced live files that were a copy of no saved configuration.
QString unsavedLiveKept(int entry);

} // namespace Messages
