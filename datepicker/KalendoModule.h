// Kalendo: what the control and the export layer share inside the library.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

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

// Design-time sizes and positions of the dropped calendar (twips).
inline constexpr int kOpenSize = 2500;
inline constexpr int kGridTop = 800;
inline constexpr int kFooterTop = 2240;
inline constexpr int kColumnWidth = 350;
inline constexpr int kRowHeight = 240;

// The leading whole number of a text (blanks, an optional sign, digits), 0 when there is none.
long long LeadingNumber(const QString &text);
// value with leading zeros to width digits ("00", "0000").
QString Format0(int value, int width);

} // namespace kalendo_internal
