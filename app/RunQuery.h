#pragma once
// The query runner: a stored-procedure call ("call sps_GetPlayers()") to a RecordSet.
#include "app/RecordSet.h"

#include <QString>

// Never an invalid result: a failed exchange gives an empty set whose failed() is true, a reply
// without schema a set without fields, a reply without rows a set with fields and no rows.
// command comes back holding its Base64 form. Text arguments inside the call are the caller's to
// quote (SqlQuote). Blocks the UI thread for at most the HTTP total timeout.
RecordSet RunQuery(QString& command);
