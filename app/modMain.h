#pragma once
// Start-up and shutdown of the client.
#include <QString>

// The start procedure: refuses a second copy, prepares folders and first-run archives, reads
// the skin name and shows the tray and splash windows. False when this copy must end now.
bool Main();
// Makes the client's folders and unpacks the first-run archives found beside the program.
void FirstRunSetup();
// Unpacks an archive into a folder; returns the unpacker's result code (0 on success).
int UnzipArchive(const QString& archive, const QString& target);
// Copies a file; any failure is ignored.
void SafeFileCopy(const QString& source, const QString& target);
// The one way the running client ends: unloads the main windows and ends the process.
void ShutDown();
