#pragma once
// The fixed time stamps of the window's messages and log lines.

#include <QDateTime>
#include <string>

namespace zel {

// "yyyymmdd hhnnss": the log prefix and the Break message.
inline std::string compactStamp(const QDateTime& t = QDateTime::currentDateTime()) {
    return t.toString(QStringLiteral("yyyyMMdd HHmmss")).toStdString();
}
// "yyyy/mm/dd hh:nn:ss:zzz": the busy notice and the "Show ..." messages.
inline std::string longStamp(const QDateTime& t = QDateTime::currentDateTime()) {
    return t.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss:zzz")).toStdString();
}
// "YYYYMMDD hh:mm:ss": the auto save report.
inline std::string autoSaveStamp(const QDateTime& t = QDateTime::currentDateTime()) {
    return t.toString(QStringLiteral("yyyyMMdd HH:mm:ss")).toStdString();
}

}  // namespace zel
