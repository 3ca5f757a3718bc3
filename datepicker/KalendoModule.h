// Kalendo: what the control and the export layer share inside the library.
#pragma once

#include <QDate>
#include <QDateTime>

#include <optional>

namespace kalendo_internal {

// Live KalendoCtl widgets, however they were made (DllCanUnloadNow counts them).
void ControlCreated();
void ControlDestroyed();

// The range of the control's date values: 1 January 100 to 31 December 9999.
inline bool InDateRange(QDate date)
{
    return date.isValid() && date.year() >= 100 && date.year() <= 9999;
}

// OLE Automation dates (days since 30 December 1899; the fraction is the time of day).
std::optional<QDateTime> FromOleDate(double value);
double ToOleDate(const QDateTime &value);

} // namespace kalendo_internal
