#pragma once
// The client folder and paths below it. Paths may be written with backslashes; an existing file
// or folder is found without regard to letter case, as on the platform the files come from.
#include <QList>
#include <QString>

namespace filewatch {
struct Link;
}

// The program's folder, or $CORVADEX_HOME when set. No trailing separator.
QString ClientFolder();
// Overrides the client folder (tests); an empty text returns to the default.
void SetClientFolder(const QString& folder);

// Backslashes to '/', doubled separators collapsed.
QString normalizePath(const QString& path);
// The path with each existing component matched case-insensitively; missing parts kept as given.
QString resolvePath(const QString& path);
// A folder joined with a path below it ("\skins\default.ini", "config/x.cvc"), not resolved.
QString joinBelow(const QString& folder, const QString& relative);
// ClientFolder() joined with a relative path, resolved.
QString clientPath(const QString& relative);
// resolvePath and clientPath remembered until a folder on the way changes, so that a path looked
// up per chat line costs no disk access; exists (when given) tells whether something is there.
QString knownPath(const QString& path, bool* exists = nullptr);
// The same, and the watched entries the answer depends on; empty when the answer is not kept
// (then nothing read from the path may be kept either).
QString knownPath(const QString& path, bool* exists, QList<filewatch::Link>* chain);
QString knownClientPath(const QString& relative, bool* exists = nullptr);

// True when a file or folder exists at the path, or something matches a wildcard name (* ?).
bool FileExists(const QString& path);
// Makes the folder below the client folder when missing; the parent must exist. Returns 0.
int EnsureFolder(const QString& folder);
// True when a name taken from the network can be a single path component.
bool isSafePathComponent(const QString& name);
