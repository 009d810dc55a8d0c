#pragma once

// Lets GoogleTest print Qt texts readably in failure messages.

#include <QString>
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toUtf8().constData() << '"';
}

inline void PrintTo(const QStringList& texts, std::ostream* out) {
    *out << '{';
    for (qsizetype i = 0; i < texts.size(); ++i) {
        *out << (i == 0 ? "" : ", ") << '"' << texts.at(i).toUtf8().constData() << '"';
    }
    *out << '}';
}
