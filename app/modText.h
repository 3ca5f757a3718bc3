#pragma once
// Field splitting and the small text routines every handler shares.
#include <QString>
#include <QStringList>
#include <QStringView>
#include <array>
#include <initializer_list>

constexpr int kDivideFields = 35;
using Fields = std::array<QString, kDivideFields>;

// Splits text at every exact occurrence of delimiter and fills out[0..34] with the pieces;
// pieces beyond the 35th are dropped; outputs without a piece keep their values. An empty
// text touches nothing; an empty delimiter gives the whole text as the one piece.
void Divide(const QString& text, const QString& delimiter, Fields& out);
// The same into fresh outputs (all "").
Fields Divide(const QString& text, const QString& delimiter);
// The first count pieces (count at most 35) as Divide gives them, as views into text: for readers
// of a few leading fields of a long line. Outputs without a piece are left as they are; returns how many were filled.
int DividePrefix(QStringView text, QStringView delimiter, QStringView* out, int count);
// The number of pieces Divide would fill (at most 35).
int DivideCount(const QString& text, const QString& delimiter);
// The same cut copied into out[0..count-1] (count at most 35): for a reader of the leading pieces only,
// nothing after the last one it asks for is cut.
void DivideInto(const QString& text, QStringView delimiter, QString* out, int count);

// Replaces each (find, replacement) pair in turn without regard to case, giving the
// replacement the case of the text it replaces. Changes text in place and returns it.
QString& ReplaceCase(QString& text, std::initializer_list<QString> pairs);
QString ReplaceCaseCopy(QString text, std::initializer_list<QString> pairs);

void SplitAtFirst(const QString& text, const QString& delimiter, QString& before, QString& after);

bool IsUpper(const QString& s);
bool IsLower(const QString& s);
bool IsProper(const QString& s);
QString ToProper(const QString& s);
// n blanks, n in 0..254.
QString Spaces(int n);

// A text argument of a stored-procedure call: single quotes doubled.
QString SqlQuote(const QString& text);

// Character checks of the chat input; as the old checks stood they accept every character.
class clsText {
public:
    bool IsLegit(const QString& ch) const;
    bool IsNumeric(const QString& ch) const;
    bool IsAlpha(const QString& ch) const;
    bool IsChar(const QString& ch) const;
    bool CheckString(const QString& text) const;
};
