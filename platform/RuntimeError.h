#pragma once
#include <QString>
#include <stdexcept>

// The client's run-time error: the description is what the error reporter shows and sends
// ("Type mismatch", "File not found", "Overflow").
class RuntimeError : public std::runtime_error {
public:
    explicit RuntimeError(const QString& description, int number = 0)
        : std::runtime_error(description.toStdString()), m_description(description), m_number(number) {}
    const QString& description() const { return m_description; }
    int number() const { return m_number; }

private:
    QString m_description;
    int m_number;
};
