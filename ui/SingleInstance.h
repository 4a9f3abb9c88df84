#pragma once

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <string>

namespace sonavel {

// One running program per user: the first start listens on a local socket named after the
// product and this user; later starts hand it their file arguments ('|'-joined) and end.
class CSingleInstance : public QObject {
    Q_OBJECT
  public:
    explicit CSingleInstance(QString serverName, QObject* parent = nullptr);

    // "KESTRANE Sonavel-<uid>".
    static QString ServerNameForThisUser();
    // True when this process is now the running instance.
    bool Listen();
    // Hands the text to the running instance; false when none answered within 3 seconds.
    static bool Forward(const QString& serverName, const std::u16string& text);

  signals:
    // A later start's arguments; empty when it had none (it only wants the window in front).
    void textReceived(QString text);

  private:
    void OnConnection();

    QString serverName_;
    QLocalServer server_;
};

} // namespace sonavel
