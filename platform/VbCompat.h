#pragma once
// Conversions and constants shared by every window: leading-number reading, 16-bit rounding,
// number formatting, twips and 0xBBGGRR colours.
#include <QColor>
#include <QString>
#include <cstdint>

namespace vb {
// Message box styles and answers.
enum : int {
    OKOnly = 0, OKCancel = 1, AbortRetryIgnore = 2, YesNoCancel = 3, YesNo = 4, RetryCancel = 5,
    Critical = 16, Question = 32, Exclamation = 48, Information = 64,
};
enum : int { OK = 1, Cancel = 2, Abort = 3, Retry = 4, Ignore = 5, Yes = 6, No = 7 };
// Why a window is being unloaded.
enum : int { FormControlMenu = 0, FormCode = 1, AppWindows = 2, AppTaskManager = 3 };
}  // namespace vb

// The leading number of a text: blanks are skipped, reading stops at the first character that
// cannot continue a number; "12abc" is 12, "abc" is 0, "&HFF" is 255.
double vbVal(const QString& text);

// Rounds half to even into 16 bits; throws RuntimeError("Overflow") outside -32768..32767.
int16_t vbCInt(double value);
// Text to 16 bits: a text that is no number throws RuntimeError("Type mismatch").
int16_t vbCInt(const QString& text);
// Rounds half to even into 32 bits; throws RuntimeError("Overflow") when it does not fit.
int32_t vbCLng(double value);
int32_t vbCLng(const QString& text);
// True when the whole text (blanks around it allowed) is a number.
bool vbIsNumeric(const QString& text);
// Checked 16-bit reading for server fields: false instead of an error when the text does not fit.
bool tryInt16(const QString& text, int16_t& out);
bool tryInt32(const QString& text, int32_t& out);

// A double as the client prints it: no trailing ".0", no exponent for ordinary values.
QString vbStr(double value);

// Twips: the old layout unit, 15 to the pixel.
constexpr int kTwipsPerPixel = 15;
constexpr int twips(int value) { return value / kTwipsPerPixel; }
constexpr int toTwips(int pixels) { return pixels * kTwipsPerPixel; }

// Colours stored as 0xBBGGRR numbers.
QColor vbColor(long bgr);
long vbColorValue(const QColor& colour);
// The colour number a text holds (Val): 0, as if not set, when it is beyond any whole number.
long vbColorNumber(const QString& text);
